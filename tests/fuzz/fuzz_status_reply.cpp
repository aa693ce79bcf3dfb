// Status replies: the tokenizer against a straightforward reference of the
// reply rule (backslash-separated tokens; each token decides how the next
// one is taken; only tokens followed by a backslash are delivered), then the
// browser's and the watcher's reply handling behind it.
//
// One input is a sweep: datagrams separated by three 0xFF bytes, handed in
// order to the browser (two saved servers the replies match, one they do
// not) and to the watcher, starting from a fresh query each time.

#include "query/ReplyAccounting.h"
#include "query/StatusTokenizer.h"
#include "settings/IntegerConversion.h"
#include "base/LauncherError.h"
#include "query/WatcherReply.h"

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

void checkTokenizer(const QByteArray& datagram) {
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
}

class CellSink : public ServerRowSink {
public:
    void setCell(int server, ServerColumn, const QString&) override {
        if (server < 0 || server > 1) // only the matching servers get texts
            abort();
    }
};

const QString replyAddress = QStringLiteral("127.0.0.1");
constexpr qint32 replyPort = 2303;

void startSweep(ServerTable& servers, QueryTable& queries) {
    servers.Last = 2;
    for (int k = 0; k <= servers.Last; ++k) {
        servers.Host[k] = replyAddress;
        servers.Port[k] = k < 2 ? QStringLiteral("2302") : QStringLiteral("2402");
        servers.Sockets[k] = true;
        queries.noteAddress(k, 0x7F000001, servers.Port[k], servers.Sockets[k]);
        queries.SendTick[k] = 4000000000u;
        queries.PlayerNames[k] = PlayerTexts();
        queries.PlayerScores[k] = PlayerTexts();
        queries.resetPlayers(k);
    }
}

void checkPlayerLists(const QueryTable& queries) {
    for (int k = 0; k < 3; ++k) {
        if (queries.PlayerCount[k] < 0 || queries.PlayerCount[k] > SLOT_COUNT ||
            queries.PlayerNames[k].size() > SLOT_COUNT ||
            queries.PlayerScores[k].size() > SLOT_COUNT)
            abort();
    }
    if (queries.PlayerCount[2] != 0)
        abort();
}

QList<QByteArray> datagrams(const QByteArray& input) {
    static const QByteArray separator("\xFF\xFF\xFF");
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype at; (at = input.indexOf(separator, from)) >= 0; from = at + separator.size())
        parts.append(input.sliced(from, at - from));
    parts.append(input.sliced(from));
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ServerTable servers; // large: made once, the used slots reset per input
    static QueryTable queries;
    startSweep(servers, queries);
    WatchedServer watched;
    watched.pollStarted();
    WatcherDisplay display;
    CellSink sink;

    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& datagram : datagrams(input)) {
        checkTokenizer(datagram);
        try {
            acceptReply(datagram, replyAddress, replyPort, 7, servers, queries, sink);
        } catch (const LauncherError&) {
        }
        checkPlayerLists(queries);
        try {
            handleWatcherReply(datagram, watched, display, qint32(size % 3));
        } catch (const LauncherError&) {
        }
        if (display.playerList.rowCount() < 1)
            abort();
    }
    return 0;
}
