// Status replies: the tokenizer against a straightforward reference of the
// reply rule (backslash-separated tokens; each token decides how the next
// one is taken; only tokens followed by a backslash are delivered).

#include "query/StatusTokenizer.h"
#include "settings/IntegerConversion.h"
#include "settings/LauncherError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

struct Delivery {
    char key;
    QString value;
    bool operator==(const Delivery&) const = default;
};

class RecordingReader : public StatusReader {
public:
    QList<Delivery> seen;

    void onPlayer(QLatin1StringView v) override { seen.append({'p', v}); }
    void onScore(QLatin1StringView v) override { seen.append({'s', v}); }
    void onGametype(QLatin1StringView v) override { seen.append({'g', v}); }
    void onNumplayers(QLatin1StringView v) override { seen.append({'n', v}); }
    void onMaxplayers(qint32 v) override { seen.append({'m', QString::number(v)}); }
    void onGstate(QLatin1StringView v) override { seen.append({'t', v}); }
};

char keyOf(const QString& token) {
    if (token.left(7) == QLatin1String("player_"))
        return 'p';
    if (token.left(5) == QLatin1String("score"))
        return 's';
    if (token == QLatin1String("gametype"))
        return 'g';
    if (token == QLatin1String("numplayers"))
        return 'n';
    if (token == QLatin1String("maxplayers"))
        return 'm';
    if (token == QLatin1String("gstate"))
        return 't';
    return 0;
}

// Returns false where the reply must end with the conversion error.
bool reference(const QByteArray& datagram, QList<Delivery>& out, QString& badValue) {
    const qsizetype zero = datagram.indexOf('\0');
    const QString text = QString::fromLatin1(zero < 0 ? datagram : datagram.first(zero));
    QString current;
    char key = 0;
    for (const QChar c : text) {
        if (c != u'\\') {
            current += c;
            continue;
        }
        const QString previous = current;
        current.clear();
        if (key == 'm') {
            qint32 value = 0;
            if (!tryParseInteger(previous, value)) {
                badValue = previous;
                return false;
            }
            out.append({'m', QString::number(value)});
        } else if (key) {
            out.append({key, previous});
        }
        key = keyOf(previous);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray datagram(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<Delivery> expected;
    QString badValue;
    const bool completes = reference(datagram, expected, badValue);

    RecordingReader reader;
    try {
        StatusTokenizer::tokenize(datagram, reader);
        if (!completes)
            abort();
    } catch (const LauncherError& e) {
        if (completes || e.message() != u'\'' + badValue + "' is not a valid integer value")
            abort();
    }
    if (reader.seen != expected)
        abort();
    return 0;
}
