#include "query/WatcherReply.h"
#include "settings/Tables.h"
#include "support/ErrorOf.h"

#include <QTest>

namespace {

// Replies are written as Latin-1 text; the step "POLL" stands for a query
// being sent, which starts the players line and the player list over.
const QString kPoll = QStringLiteral("POLL");

QString nameOf(WatcherSound sound) {
    switch (sound) {
    case WatcherSound::None:
        return QStringLiteral("-");
    case WatcherSound::BuiltIn:
        return QStringLiteral("builtin");
    case WatcherSound::Sound1:
        return QStringLiteral("sound1");
    case WatcherSound::Sound2:
        return QStringLiteral("sound2");
    }
    return {};
}

QString nameOf(TextColour colour) {
    switch (colour) {
    case TextColour::Plain:
        return QStringLiteral("plain");
    case TextColour::Green:
        return QStringLiteral("green");
    case TextColour::Maroon:
        return QStringLiteral("maroon");
    }
    return {};
}

QStringList rowsOf(const PlayerRows& rows) {
    QStringList shown;
    for (int r = 0; r < rows.rowCount(); ++r)
        shown << rows.row(r).name + u'|' + rows.row(r).score;
    return shown;
}

struct Watch {
    WatchedServer server;
    WatcherDisplay display;
    QStringList sounds; // one per reply

    void play(const QStringList& steps, qint32 soundMode) {
        for (const QString& step : steps) {
            if (step == kPoll) {
                server.pollStarted();
                display.playerList.clear();
                continue;
            }
            sounds << nameOf(handleWatcherReply(step.toLatin1(), server, display, soundMode));
        }
    }
};

} // namespace

class TestWatcherReply : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stateAndSound_data();
    void stateAndSound();
    void playersLine_data();
    void playersLine();
    void mission_data();
    void mission();
    void playerRows_data();
    void playerRows();
    void malformedMaxplayersEndsTheDatagram();
    void burstOfScoresIsBounded();
};

void TestWatcherReply::stateAndSound_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("sounds");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("redLamp");

    const QString g14 = "\\gstate\\14\\", g13 = "\\gstate\\13\\", g2 = "\\gstate\\2\\",
                  g6 = "\\gstate\\6\\", g9 = "\\gstate\\9\\";
    QTest::newRow("game over, built-in once")
        << 1 << QStringList{g14, g2, g2} << QStringList{"-", "builtin", "-"} << 2
        << "Selecting mission"
        << "green" << false;
    QTest::newRow("briefing to setting up plays the new-game file")
        << 2 << QStringList{g13, g6} << QStringList{"-", "sound1"} << 6 << "Setting up"
        << "green" << false;
    QTest::newRow("players on an empty server play the players file")
        << 2 << QStringList{"\\numplayers\\0\\gstate\\6\\", kPoll, "\\numplayers\\1\\gstate\\6\\"}
        << QStringList{"-", "sound2"} << 6 << "Setting up"
        << "green" << false;
    QTest::newRow("empty to debriefing, built-in")
        << 1 << QStringList{"\\numplayers\\0\\", kPoll, "\\numplayers\\2\\gstate\\9\\"}
        << QStringList{"-", "builtin"} << 9 << "Debriefing"
        << "green" << false;
    QTest::newRow("sounds off") << 0 << QStringList{g14, g2, "\\numplayers\\0\\", kPoll, g2}
                                << QStringList{"-", "-", "-", "-"} << 2 << "Selecting mission"
                                << "green" << false;
    QTest::newRow("a mode outside 0 to 2 is silent")
        << 3 << QStringList{g14, g9} << QStringList{"-", "-"} << 9 << "Debriefing"
        << "green" << false;
    QTest::newRow("running to running is silent")
        << 1 << QStringList{g13, g14} << QStringList{"-", "-"} << 14 << "Game in progress..."
        << "maroon" << true;
    QTest::newRow("preparing to preparing is silent")
        << 1 << QStringList{g2, g6, g9} << QStringList{"-", "-", "-"} << 9 << "Debriefing"
        << "green" << false;
    QTest::newRow("no players beats the game state")
        << 1 << QStringList{"\\gstate\\14\\numplayers\\0\\"} << QStringList{"-"} << 256 << "Empty"
        << "maroon" << true;
    QTest::newRow("an empty poll stays empty in its later datagrams")
        << 1 << QStringList{"\\numplayers\\0\\", g2, kPoll, g2} << QStringList{"-", "-", "builtin"}
        << 2 << "Selecting mission"
        << "green" << false;
    QTest::newRow("a reply without gstate forgets the running game")
        << 1 << QStringList{g14, "\\numplayers\\3\\", g2} << QStringList{"-", "-", "-"} << 2
        << "Selecting mission"
        << "green" << false;
    QTest::newRow("an unknown gstate keeps the shown status")
        << 1 << QStringList{g14, "\\gstate\\7\\", "\\gstate\\02\\", "\\gstate\\14"}
        << QStringList{"-", "-", "-", "-"} << 0 << "Game in progress..."
        << "maroon" << true;
    QTest::newRow("nothing recognised")
        << 1 << QStringList{"\\hostname\\x\\"} << QStringList{"-"} << 0 << "Waiting status..."
        << "plain" << true;
}

void TestWatcherReply::stateAndSound() {
    QFETCH(int, mode);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, sounds);
    QFETCH(int, state);
    QFETCH(QString, status);
    QFETCH(QString, colour);
    QFETCH(bool, redLamp);

    Watch watch;
    watch.play(replies, mode);
    QCOMPARE(watch.sounds, sounds);
    QCOMPARE(watch.server.WatcherState, state);
    QCOMPARE(watch.display.status.text, status);
    QCOMPARE(nameOf(watch.display.status.colour), colour);
    QCOMPARE(watch.display.redLampShown, redLamp);
}

void TestWatcherReply::playersLine_data() {
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("colour");

    QTest::newRow("9 of 10 sorts after 10")
        << QStringList{"\\numplayers\\9\\maxplayers\\12\\"} << "9/10"
        << "maroon";
    QTest::newRow("full") << QStringList{"\\numplayers\\10\\maxplayers\\12\\"} << "10/10"
                          << "green";
    QTest::newRow("maximum first") << QStringList{"\\maxplayers\\8\\numplayers\\3\\"} << "3/6"
                                   << "green";
    QTest::newRow("hexadecimal maximum, compared as text")
        << QStringList{"\\numplayers\\2\\maxplayers\\$10\\"} << "2/14"
        << "maroon";
    QTest::newRow("unknown maximum") << QStringList{"\\numplayers\\3\\"} << "3/?"
                                     << "green";
    QTest::newRow("no numplayers, no line") << QStringList{"\\maxplayers\\12\\"} << "?/?"
                                            << "plain";
    QTest::newRow("empty") << QStringList{"\\numplayers\\0\\maxplayers\\10\\"} << "0/8"
                           << "maroon";
    QTest::newRow("kept across the datagrams of a poll")
        << QStringList{"\\numplayers\\4\\maxplayers\\10\\", "\\maxplayers\\50\\"} << "4/48"
        << "green";
    QTest::newRow("a new poll waits for numplayers")
        << QStringList{"\\numplayers\\4\\maxplayers\\10\\", kPoll, "\\maxplayers\\22\\"} << "4/8"
        << "green";
    QTest::newRow("a new poll forgets the maximum")
        << QStringList{"\\numplayers\\4\\maxplayers\\10\\", kPoll, "\\numplayers\\5\\"} << "5/?"
        << "green";
}

void TestWatcherReply::playersLine() {
    QFETCH(QStringList, replies);
    QFETCH(QString, line);
    QFETCH(QString, colour);

    Watch watch;
    watch.play(replies, 1);
    QCOMPARE(watch.display.players.text, line);
    QCOMPARE(nameOf(watch.display.players.colour), colour);
}

void TestWatcherReply::mission_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("mission");
    QTest::addColumn<QString>("colour");

    QTest::newRow("named") << "\\gametype\\Coop 12\\"
                           << "Coop 12"
                           << "green";
    QTest::newRow("empty") << "\\gametype\\\\"
                           << "None"
                           << "maroon";
    QTest::newRow("missing") << "\\numplayers\\2\\"
                             << "none"
                             << "plain";
    QTest::newRow("the last one counts") << "\\gametype\\A\\gametype\\\\"
                                         << "None"
                                         << "maroon";
}

void TestWatcherReply::mission() {
    QFETCH(QString, reply);
    QFETCH(QString, mission);
    QFETCH(QString, colour);

    Watch watch;
    watch.play({reply}, 1);
    QCOMPARE(watch.display.mission.text, mission);
    QCOMPARE(nameOf(watch.display.mission.colour), colour);
}

void TestWatcherReply::playerRows_data() {
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("rows");

    const QString abc = "\\player_0\\A\\score_0\\1\\player_1\\B\\score_1\\2\\"
                        "player_2\\C\\score_2\\3\\";
    QTest::newRow("scored players") << QStringList{abc} << QStringList{"A|1", "B|2", "C|3"};
    QTest::newRow("no players") << QStringList{"\\numplayers\\0\\"} << QStringList{"|"};
    QTest::newRow("names without scores share the open row")
        << QStringList{"\\player_0\\A\\player_1\\B\\"} << QStringList{"B|"};
    QTest::newRow("a score without a name") << QStringList{"\\score_0\\7\\"} << QStringList{"|7"};
    QTest::newRow("the next datagram starts at the last shown row")
        << QStringList{"\\player_0\\A\\score_0\\1\\player_1\\B\\score_1\\2\\",
                       "\\player_2\\C\\score_2\\3\\"}
        << QStringList{"A|1", "C|3"};
    QTest::newRow("a datagram without scores hides one more row")
        << QStringList{abc, "\\gametype\\x\\"} << QStringList{"A|1", "B|2"};
    QTest::newRow("a new poll starts with one empty row")
        << QStringList{abc, kPoll, "\\player_0\\D\\score_0\\9\\"} << QStringList{"D|9"};
    QTest::newRow("rows of a longer list come back with their names")
        << QStringList{abc, kPoll, "\\score_0\\5\\score_1\\6\\"} << QStringList{"|5", "B|6"};
}

void TestWatcherReply::playerRows() {
    QFETCH(QStringList, replies);
    QFETCH(QStringList, rows);

    Watch watch;
    watch.play(replies, 1);
    QCOMPARE(rowsOf(watch.display.playerList), rows);
}

// Everything before the bad value is shown; nothing after it happens, not
// even the state change, so the next good reply still sounds.
void TestWatcherReply::malformedMaxplayersEndsTheDatagram() {
    Watch watch;
    watch.play({"\\gstate\\14\\numplayers\\3\\maxplayers\\8\\"}, 1);
    const QByteArray bad = "\\gstate\\2\\gametype\\Coop\\player_0\\A\\score_0\\1\\"
                           "player_1\\B\\maxplayers\\abc\\gametype\\X\\score_1\\2\\gstate\\6\\";
    QCOMPARE(errorOf([&] { handleWatcherReply(bad, watch.server, watch.display, 1); }),
             "'abc' is not a valid integer value");
    QCOMPARE(watch.display.status.text, QString("Selecting mission"));
    QCOMPARE(watch.display.mission.text, QString("Coop"));
    QCOMPARE(rowsOf(watch.display.playerList), (QStringList{"A|1", "B|"}));
    QCOMPARE(watch.display.players.text, QString("3/6"));
    QCOMPARE(watch.server.WatcherState, 14);

    watch.play({"\\gstate\\9\\"}, 1);
    QCOMPARE(watch.sounds.last(), QString("builtin"));
}

// A burst of score-only datagrams fills at most SLOT_COUNT rows, and each
// datagram after that changes only the last row.
void TestWatcherReply::burstOfScoresIsBounded() {
    QByteArray scores;
    while (scores.size() < 2040)
        scores += "\\score\\1";
    Watch watch;
    for (int datagram = 0; datagram < 10; ++datagram)
        handleWatcherReply(scores, watch.server, watch.display, 1);
    PlayerRows& rows = watch.display.playerList;
    QCOMPARE(rows.rowCount(), SLOT_COUNT);
    QCOMPARE(rows.row(SLOT_COUNT - 1).score, QString("1"));

    rows.takeFirstChangedRow();
    handleWatcherReply("\\player_0\\Last\\score_0\\9\\score\\2\\", watch.server, watch.display, 1);
    QCOMPARE(rows.rowCount(), SLOT_COUNT);
    QCOMPARE(rows.takeFirstChangedRow(), SLOT_COUNT - 1);
    QCOMPARE(rows.row(SLOT_COUNT - 1).name + '|' + rows.row(SLOT_COUNT - 1).score,
             QString("Last|9"));
}

QTEST_GUILESS_MAIN(TestWatcherReply)
#include "tst_watcher_reply.moc"
