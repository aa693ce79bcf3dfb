#include "RecordingReader.h"
#include "query/StatusTokenizer.h"
#include "settings/IntegerConversion.h"
#include "base/LauncherError.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

// Runs the tokenizer and the integer conversion over random input for a few
// seconds each and compares them with plain reference models written
// straight from the rules. Built with ZAM_SANITIZE, it also shows that no
// input makes either read out of bounds or overflow.

namespace {

constexpr int budgetMs = 2000;

// Fragments that make random replies hit the interesting paths often.
const QByteArray fragments[] = {
    "\\",
    "\\\\",
    "player_",
    "player",
    "score",
    "score_0",
    "gametype",
    "numplayers",
    "maxplayers",
    "gstate",
    "final",
    "12",
    "$1F",
    "0x7fffffff",
    "-3",
    " ",
    "abc",
    QByteArray(1, '\0'),
    "\xff\xe9",
    "x",
    "99999999999",
    "+",
};

QByteArray randomBytes(QRandomGenerator& random, int maxLength) {
    QByteArray bytes;
    const int length = random.bounded(maxLength + 1);
    while (bytes.size() < length) {
        if (random.bounded(3) == 0)
            bytes += char(random.bounded(256));
        else
            bytes += fragments[random.bounded(int(std::size(fragments)))];
    }
    return bytes.left(length);
}

// The tokenizer's rules, the plain way: whole strings, one flag per key.
QStringList referenceTokens(const QByteArray& datagram, QString& error) {
    const qsizetype zero = datagram.indexOf('\0');
    const QString text = QString::fromLatin1(zero < 0 ? datagram : datagram.left(zero));
    QStringList values;
    QString current;
    bool player = false, score = false, gametype = false, numplayers = false, maxplayers = false,
         gstate = false;
    for (const QChar c : text) {
        if (c != u'\\') {
            current += c;
            continue;
        }
        const QString previous = current;
        current.clear();
        if (player)
            values << "player=" + previous;
        if (score)
            values << "score=" + previous;
        if (gametype)
            values << "gametype=" + previous;
        if (numplayers)
            values << "numplayers=" + previous;
        if (gstate)
            values << "gstate=" + previous;
        if (maxplayers) {
            try {
                values << "maxplayers=" + QString::number(parseInteger(previous));
            } catch (const LauncherError& e) {
                error = e.message();
                return values;
            }
        }
        player = previous.left(7) == "player_";
        score = previous.left(5) == "score";
        gametype = previous == "gametype";
        numplayers = previous == "numplayers";
        maxplayers = previous == "maxplayers";
        gstate = previous == "gstate";
        if (previous == "final")
            values << "final";
    }
    return values;
}

// The integer rules as patterns; the range is checked with wide arithmetic.
std::optional<qint32> referenceInteger(const QString& text) {
    static const QRegularExpression decimal(
        QRegularExpression::anchoredPattern(" *([+-]?)([0-9]+)"));
    static const QRegularExpression hex(
        QRegularExpression::anchoredPattern(" *(?:\\$|x|X|0x|0X)([0-9a-fA-F]+)"));
    qint64 value = 0;
    if (const QRegularExpressionMatch m = decimal.match(text); m.hasMatch()) {
        const QString digits = m.captured(2).remove(QRegularExpression("^0+(?=.)"));
        if (digits.size() > 10)
            return std::nullopt;
        value = digits.toLongLong();
        if (m.captured(1) == "-")
            value = -value;
    } else if (const QRegularExpressionMatch m = hex.match(text); m.hasMatch()) {
        const QString digits = m.captured(1).remove(QRegularExpression("^0+(?=.)"));
        if (digits.size() > 8)
            return std::nullopt;
        value = digits.toLongLong(nullptr, 16);
    } else {
        return std::nullopt;
    }
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

} // namespace

class TestQueryRandom : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void tokenizerMatchesReference();
    void integerConversionMatchesReference();

private:
    quint32 seed = 0;
};

void TestQueryRandom::initTestCase() {
    seed = qEnvironmentVariableIsSet("ZAM_RANDOM_SEED")
               ? quint32(qEnvironmentVariableIntValue("ZAM_RANDOM_SEED"))
               : QRandomGenerator::global()->generate();
    qInfo("seed %u (set ZAM_RANDOM_SEED to repeat)", seed);
}

void TestQueryRandom::tokenizerMatchesReference() {
    QRandomGenerator random(seed);
    int runs = 0;
    for (QDeadlineTimer budget(budgetMs); !budget.hasExpired(); ++runs) {
        const QByteArray datagram = randomBytes(random, 2048);
        RecordingReader reader;
        QString error;
        try {
            StatusTokenizer::tokenize(datagram, reader);
        } catch (const LauncherError& e) {
            error = e.message();
        }
        QString expectedError;
        const QStringList expected = referenceTokens(datagram, expectedError);
        if (reader.values != expected || error != expectedError)
            QFAIL(qPrintable("differs on " + QString::fromLatin1(datagram.toHex())));
    }
    qInfo("%d datagrams", runs);
}

void TestQueryRandom::integerConversionMatchesReference() {
    QRandomGenerator random(seed);
    int runs = 0;
    for (QDeadlineTimer budget(budgetMs); !budget.hasExpired(); ++runs) {
        const QString text = QString::fromLatin1(randomBytes(random, 14));
        qint32 value = 0;
        const bool valid = tryParseInteger(text, value);
        const std::optional<qint32> expected = referenceInteger(text);
        QVERIFY2(valid == expected.has_value(), qPrintable("'" + text + "'"));
        if (valid)
            QCOMPARE(value, *expected);
    }
    qInfo("%d texts", runs);
}

QTEST_GUILESS_MAIN(TestQueryRandom)
#include "tst_query_random.moc"
