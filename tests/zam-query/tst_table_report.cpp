#include "zam-query/QueryReport.h"

#include <QTest>
#include <cstdio>

// The table, written a line at a time through a block of output, against the
// same table made whole: the same bytes for texts of one, two and three UTF-8
// bytes per character, with and without friends, over many blocks.
class TestTableReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameBytesAsTheWholeTable_data();
    void sameBytesAsTheWholeTable();
};

namespace {

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

QByteArray streamed(const std::vector<QueriedServer>& servers, bool friends) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    writeQueryReport(servers, false, out, friends);
    std::fclose(out);
    const QByteArray bytes(text, qsizetype(size));
    std::free(text);
    return bytes;
}

} // namespace

void TestTableReport::sameBytesAsTheWholeTable_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("friends");
    QTest::newRow("one server") << 1 << false;
    QTest::newRow("many blocks") << 4000 << false;
    QTest::newRow("many blocks, friends") << 4000 << true;
}

void TestTableReport::sameBytesAsTheWholeTable() {
    QFETCH(int, count);
    QFETCH(bool, friends);
    const QStringList names{"", "Zoë's", "東京 server", "  padded  ", "A long server name"};
    std::vector<QueriedServer> servers(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
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
    QCOMPARE(streamed(servers, friends), wholeTable(servers, friends));
}

QTEST_APPLESS_MAIN(TestTableReport)
#include "tst_table_report.moc"
