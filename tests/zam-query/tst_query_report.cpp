#include "zam-query/QueryReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <cstdio>

// The reports as they are streamed against the ways they were made before:
// the JSON against Qt's document writer, the same bytes for every kind of
// text; the table against the table made whole, the same bytes for texts of
// one, two and three UTF-8 bytes per character, over many lines.
class TestQueryReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameBytesAsTheDocumentWriter_data();
    void sameBytesAsTheDocumentWriter();
    void sameBytesAsTheWholeTable();
};

namespace {

QByteArray written(const std::vector<QueriedServer>& servers, bool friends, bool json = true) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    writeQueryReport(servers, json, out, friends);
    std::fclose(out);
    const QByteArray bytes(text, qsizetype(size));
    std::free(text);
    return bytes;
}

// What the report held before: Qt's indented document, with DEL and C1 (in
// UTF-8) escaped afterwards.
QByteArray documentWriterBytes(const std::vector<QueriedServer>& servers, bool friends) {
    QJsonArray array;
    for (const QueriedServer& s : servers) {
        QJsonArray players;
        for (int i = 0; s.answer.answered && i < s.playerCount; ++i)
            players.append(QJsonObject{{"name", PlayerList::textAt(s.playerNames, i)},
                                       {"score", PlayerList::textAt(s.playerScores, i)}});
        QJsonObject object{
            {"name", s.name},
            {"host", s.host},
            {"port", s.port},
            {"sockets", s.sockets},
            {"answered", s.answer.answered},
            {"ping", s.answer.answered ? QJsonValue(s.answer.ping.toLongLong()) : QJsonValue()},
            {"players", s.answer.players.trimmed()},
            {"mission", s.answer.mission.trimmed()},
            {"playerList", players},
        };
        if (friends)
            object.insert("friends", QJsonArray::fromStringList(s.friends));
        array.append(object);
    }
    QByteArray json = QJsonDocument(array).toJson(QJsonDocument::Indented);
    json.replace("\x7f", "\\u007f");
    for (int c1 = 0x80; c1 < 0xa0; ++c1)
        json.replace(QByteArray{"\xc2"} + char(c1), "\\u00" + QByteArray::number(c1, 16));
    return json;
}

QueriedServer server(const QString& text, bool answered, qint32 players) {
    QueriedServer s;
    s.name = text;
    s.host = text + QStringLiteral(".example");
    s.port = text;
    s.sockets = !answered;
    s.answer = {answered, answered ? QStringLiteral("4294967295") : QStringLiteral("??"),
                u' ' + text + u'\t', text};
    s.playerCount = players;
    // Player texts are Latin-1, as replies send them; the third reads empty.
    const QByteArray latin1 = text.toLatin1();
    s.playerNames.set(0, QLatin1StringView(latin1));
    s.playerNames.set(1, QLatin1StringView());
    s.playerScores.set(0, QLatin1StringView("-3" + latin1));
    if (players > 1)
        s.friends = {text, QStringLiteral("Ann")};
    return s;
}

QString shown(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("-") : text.trimmed();
}

QByteArray wholeTable(const std::vector<QueriedServer>& servers, bool friends) {
    QList<QStringList> rows{{"NAME", "ADDRESS", "PING", "PLAYERS", "MISSION"}};
    if (friends)
        rows[0] << "FRIENDS";
    for (const QueriedServer& s : servers) {
        rows << QStringList{shown(s.name), s.host + u':' + s.port, s.answer.ping,
                            shown(s.answer.players), shown(s.answer.mission)};
        if (friends)
            rows.last() << shown(s.friends.join(", "));
    }
    QList<qsizetype> widths(rows[0].size());
    for (const QStringList& row : rows)
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i + 1 < row.size(); ++i)
            text += row[i].leftJustified(widths[i] + 2);
        text += row.last() + u'\n';
    }
    return text.toUtf8();
}

} // namespace

void TestQueryReport::sameBytesAsTheDocumentWriter_data() {
    QTest::addColumn<QString>("text");
    QString c0;
    for (char16_t u = 0; u < 0x20; ++u)
        c0 += QChar(u);
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral("Big Ren's server 7");
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"a\\b\" \\\\ /");
    QTest::newRow("C0") << c0;
    QTest::newRow("DEL and C1") << QString::fromUtf8("\x7f\xc2\x80\xc2\x85\xc2\x9f\xc2\xa0");
    QTest::newRow("Latin-1, BMP, astral")
        << QString::fromUtf8("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
    QTest::newRow("lone surrogates")
        << QStringLiteral("a") + QChar(0xdc00) + QChar(0xd800) + u'b' + QChar(0xd83d);
}

void TestQueryReport::sameBytesAsTheDocumentWriter() {
    QFETCH(QString, text);
    // Silent with stale players, answered with no players, answered with
    // more players than stored names.
    for (const std::vector<QueriedServer>& servers :
         {std::vector<QueriedServer>{},
          {server(text, false, 2)},
          {server(text, true, 0), server(text, true, 3), server(text, false, 1)}})
        for (const bool friends : {false, true})
            QCOMPARE(written(servers, friends), documentWriterBytes(servers, friends));
}

void TestQueryReport::sameBytesAsTheWholeTable() {
    const QStringList names{"", "Zo\u00eb's", "\u6771\u4eac server", "  padded  ", "A long name"};
    std::vector<QueriedServer> servers(4000);
    for (int i = 0; i < int(servers.size()); ++i) {
        QueriedServer& s = servers[size_t(i)];
        s.name = names[i % names.size()];
        s.host = QStringLiteral("10.0.%1.%2").arg(i / 256).arg(i % 256);
        s.port = QString::number(2300 + i % 7);
        if (i % 3) {
            s.answer = {true, QString::number(i % 500), QStringLiteral("%1/16").arg(i % 17),
                        names[(i + 2) % names.size()]};
            s.friends = names.mid(i % 3, i % 4);
        }
    }
    for (const bool friends : {false, true})
        QCOMPARE(written(servers, friends, false), wholeTable(servers, friends));
}

QTEST_GUILESS_MAIN(TestQueryReport)
#include "tst_query_report.moc"
