// Server browser benchmark. Without arguments it fills a store with 1025
// servers on 127.0.0.1, answers them with fast_responder (16 players each)
// and prints medians of several runs, each browser in a fresh process:
//   - one browser sweep: the time from its start until every row shows its
//     reply, with replies at once and 50 ms late; the pings shown against the
//     responder's delay; the peak memory of the process;
//   - the floor: a bare loop sending the same 1025 queries from one socket and
//     waiting for all replies, with the ratio;
//   - a flood of 100,000 datagrams at the browser's port during a sweep
//     (valid replies, garbage, oversized, empty, bad numbers): the longest
//     stall of the browser's event loop and the message boxes it opened.
// Each sweep runs twice: as built, and with the endpoint's socket given a
// 208 KiB receive buffer (ZAM_BENCH_RCVBUF), the cap of desktops whose
// rmem_max is the kernel's default, to show the replies such a desktop loses;
// the floor runs with that buffer too, for what the machine itself loses.
// A third sweep queries the servers by 1025 distinct host names, each looked
// up in 20 ms through the lookup seam (ZAM_BENCH_LOOKUP_MS).
// fast_responder answers within microseconds (no Qt), as independent servers
// would. ZAM_BENCH_DEBUG=1 makes a sweep child list its unanswered rows.
// ZAM_BENCH_MAPS=DIR makes each child that prints its peak memory also write
// its memory map then (/proc/self/smaps) to DIR/<mode>-<pid>;
// tools/bench/rss_by_mapping.sh compares two of them mapping by mapping.
#include "app/Unit1.h"
#include "browser/ServerGrid.h"
#include "browser/StatusBarPanel.h"
#include "browser/Unit4.h"
#include "query/StatusQuery.h"
#include "query/UdpEndpoint.h"
#include "settings/StoreLocation.h"
#include "testkit/SlowNameService.h"
#include "tools/bench/StoreSeed.h"
#include "windows/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardItem>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>
#include <map>
#include <sys/resource.h>

namespace {

constexpr int serverCount = SLOT_COUNT;
constexpr int smallReceiveBuffer = 208 * 1024;
constexpr int firstGamePort = 30000; // StoreSeed: game port firstGamePort + 2 * i, Sockets
constexpr quint16 queryPortOf(int server) {
    return quint16(firstGamePort + 2 * server + 1);
}

QByteArray sixteenPlayers() {
    QByteArray reply = "\\gametype\\Coop\\numplayers\\16\\maxplayers\\18\\gstate\\14";
    for (int i = 0; i < 16; ++i)
        reply += "\\player_" + QByteArray::number(i) + "\\Player number " + QByteArray::number(i) +
                 "\\score_" + QByteArray::number(i) + "\\" + QByteArray::number(i * 7);
    return reply + "\\";
}

long peakKilobytes() {
    if (const QString maps = qEnvironmentVariable("ZAM_BENCH_MAPS"); !maps.isEmpty()) {
        QFile in(QStringLiteral("/proc/self/smaps"));
        QFile out(QStringLiteral("%1/%2-%3")
                      .arg(maps, QCoreApplication::arguments().value(1).mid(2))
                      .arg(QCoreApplication::applicationPid()));
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(in.readAll()); // a proc file has no size: read to its end
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts the boxes the launcher would open instead of blocking on them.
class CountingPrompts : public Prompts {
public:
    void information(QWidget*, const QString&) override { ++boxes; }
    bool confirm(QWidget*, const QString&) override { return ++boxes, false; }
    void error(QWidget*, const QString&) override { ++boxes; }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&) override {
        ++boxes;
        return std::nullopt;
    }
    static inline int boxes = 0;
};

// The launcher as a person starts it, with the browser shown.
struct Launcher {
    Launcher() {
        Prompts::install(std::make_unique<CountingPrompts>());
        if (const int lookupMs = qEnvironmentVariableIntValue("ZAM_BENCH_LOOKUP_MS"))
            SlowNameService::install(lookupMs); // every name is 127.0.0.1
        browser.show();
        QCoreApplication::processEvents();
        browser.Timer2->stop(); // the sweep is started by the measurement itself
        if (qEnvironmentVariableIsSet("ZAM_BENCH_RCVBUF"))
            for (QUdpSocket* socket : browser.udps->findChildren<QUdpSocket*>())
                socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption,
                                        qEnvironmentVariableIntValue("ZAM_BENCH_RCVBUF"));
    }
    TForm1 main;
    TForm4 browser;
};

// Follows the ping column after every datagram the browser handles: a row is
// answered once its ping is no longer "??". Once all are, the next paint of
// the grid shows them.
struct AnsweredRows : QObject {
    explicit AnsweredRows(TForm4& browser) : browser(browser) {
        const auto handle = browser.udps->OnDataReceived;
        browser.udps->OnDataReceived = [this, handle](UdpEndpoint* s, qint32 n, const QString& ip,
                                                      qint32 port) {
            ++datagrams;
            handle(s, n, ip, port);
            if (answeredNs < 0 && allAnswered()) {
                answeredNs = clock.nsecsElapsed();
                QTimer::singleShot(200, qApp, &QCoreApplication::quit);
            }
        };
        browser.SGrid->viewport()->installEventFilter(this);
    }
    // The grid repaints the rows in view whose texts changed: every row is
    // shown once the last paint after its change ran, or at once when its
    // change needed none (out of view).
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            lastPaintNs = clock.nsecsElapsed();
        return false;
    }
    qint64 shownNs() const { return answeredNs < 0 ? -1 : std::max(answeredNs, lastPaintNs); }
    bool answered(int row) const {
        const QStandardItem* item = browser.SGrid->item(row, 2);
        return item && item->text() != QLatin1String("??");
    }
    bool allAnswered() {
        while (firstOpen < serverCount && answered(firstOpen))
            ++firstOpen;
        return firstOpen == serverCount;
    }
    std::vector<int> pings() const {
        std::vector<int> shown;
        for (int row = 0; row < serverCount; ++row)
            if (answered(row))
                shown.push_back(browser.SGrid->item(row, 2)->text().toInt());
        std::sort(shown.begin(), shown.end());
        return shown;
    }

    TForm4& browser;
    QElapsedTimer clock;
    int firstOpen = 0;
    int datagrams = 0;
    qint64 answeredNs = -1;
    qint64 lastPaintNs = -1;
};

// Child: one sweep; prints sweep, all answered, shown (ms), ping median,
// min, max, rows answered, peak KiB.
int sweepChild(int argc, char** argv) {
    QApplication app(argc, argv);
    Launcher launcher;
    AnsweredRows rows(launcher.browser);
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    rows.clock.start();
    launcher.browser.BitBtn2->click();
    const double sweepMs = double(rows.clock.nsecsElapsed()) / 1e6;
    app.exec();

    const std::vector<int> pings = rows.pings();
    if (qEnvironmentVariableIsSet("ZAM_BENCH_DEBUG")) {
        QString open;
        for (int row = 0; row < serverCount; ++row)
            if (!rows.answered(row))
                open += QString::number(row) + u' ';
        std::fprintf(stderr, "datagrams %d, unanswered: %s\n", rows.datagrams, qPrintable(open));
    }
    const auto at = [&](size_t i) { return pings.empty() ? -1 : pings[i]; };
    std::printf("%.2f %.2f %.2f %d %d %d %d %ld\n", sweepMs, double(rows.answeredNs) / 1e6,
                double(rows.shownNs()) / 1e6, at(pings.size() / 2), at(0),
                at(pings.empty() ? 0 : pings.size() - 1), int(pings.size()), peakKilobytes());
    std::fflush(stdout);
    std::_Exit(0); // closing the main window would save the store
}

// Child: the same queries from one socket, reading replies as they come;
// prints the time until all are in (ms) and how many came.
int floorChild(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QUdpSocket socket;
    socket.bind(QHostAddress::AnyIPv4, 0);
    // Room for every reply at once, unless the run asks for the buffer a
    // desktop with the kernel's default rmem_max grants.
    const int receiveBuffer = qEnvironmentVariableIsSet("ZAM_BENCH_RCVBUF")
                                  ? qEnvironmentVariableIntValue("ZAM_BENCH_RCVBUF")
                                  : 4 << 20;
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, receiveBuffer);
    std::map<quint16, qint64> sentNs;
    std::vector<double> pings;
    char buffer[2048];
    QElapsedTimer clock;
    const auto drain = [&] {
        while (socket.hasPendingDatagrams()) {
            quint16 port = 0;
            if (socket.readDatagram(buffer, sizeof buffer, nullptr, &port) > 0 &&
                sentNs.count(port))
                pings.push_back(double(clock.nsecsElapsed() - sentNs[port]) / 1e6);
        }
    };
    clock.start();
    for (int i = 0; i < serverCount; ++i) {
        sentNs[queryPortOf(i)] = clock.nsecsElapsed();
        socket.writeDatagram(StatusQuery.data(), StatusQueryLength, QHostAddress::LocalHost,
                             queryPortOf(i));
        drain();
    }
    while (int(pings.size()) < serverCount && clock.elapsed() < 10000) {
        socket.waitForReadyRead(100);
        drain();
    }
    const double allMs = double(clock.nsecsElapsed()) / 1e6;
    std::sort(pings.begin(), pings.end());
    std::printf("%.2f %d %.2f %.2f\n", allMs, int(pings.size()),
                pings.empty() ? -1.0 : pings[pings.size() / 2],
                pings.empty() ? -1.0 : pings.back());
    std::fflush(stdout);
    return 0;
}

// Child: a sweep while the parent floods the browser's port; prints the
// longest gap of a 1 ms timer (ms), datagrams handled, message boxes, rows
// answered, the status text, peak KiB.
int floodChild(int argc, char** argv) {
    QApplication app(argc, argv);
    Launcher launcher;
    AnsweredRows rows(launcher.browser);
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = rows.clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(100, [&] { launcher.browser.BitBtn2->click(); });
    QTimer::singleShot(4000, &app, &QCoreApplication::quit);
    rows.clock.start();
    tick.start(1);
    app.exec();
    std::printf("%.2f %d %d %d %s %ld\n", double(longest) / 1e6, rows.datagrams,
                CountingPrompts::boxes, int(rows.pings().size()),
                qPrintable(launcher.browser.StatusPanel->text().replace(' ', '_')),
                peakKilobytes());
    std::fflush(stdout);
    std::_Exit(0);
}

// --- the coordinating process ---

QString toolPath(const QString& name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

// Starts fast_responder for the query ports of servers 0 to last: it answers
// each query within microseconds (or after delayMs), as independent servers
// would, so the figures are the browser's own.
std::unique_ptr<QProcess> startResponder(const QString& replyFile, int delayMs, int last) {
    auto responder = std::make_unique<QProcess>();
    responder->start(toolPath("fast_responder"),
                     {"--ports", QStringLiteral("%1-%2").arg(queryPortOf(0)).arg(queryPortOf(last)),
                      "--reply-file", replyFile, "--delay", QString::number(delayMs)});
    if (!responder->waitForReadyRead(5000) || !responder->readLine().startsWith("ready")) {
        std::fprintf(stderr, "responder did not start: %s\n",
                     responder->readAllStandardError().constData());
        std::exit(1);
    }
    return responder;
}

QStringList runChild(const QString& mode, const QString& store,
                     const std::function<void(QProcess&)>& whileRunning = {}, int receiveBuffer = 0,
                     int lookupMs = 0) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (receiveBuffer > 0)
        env.insert("ZAM_BENCH_RCVBUF", QString::number(receiveBuffer));
    if (lookupMs > 0)
        env.insert("ZAM_BENCH_LOOKUP_MS", QString::number(lookupMs));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ZAM_BENCH_STORE", store);
    child.setProcessEnvironment(env);
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(QCoreApplication::applicationFilePath(), {mode});
    if (whileRunning)
        whileRunning(child);
    child.waitForFinished(60000);
    return QString::fromLatin1(child.readAllStandardOutput()).simplified().split(' ');
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "k of n": in how many of the runs every server answered.
QByteArray wholeRuns(const std::vector<double>& answered) {
    const auto whole = std::count(answered.begin(), answered.end(), double(serverCount));
    return QByteArray::number(qint64(whole)) + " of " + QByteArray::number(qint64(answered.size()));
}

struct SweepFigures {
    std::vector<double> sweep, answered, shown, pingMedian, pingMin, pingMax, rows, peak;

    void add(const QStringList& s) {
        for (auto [figures, i] : {std::pair{&sweep, 0},
                                  {&answered, 1},
                                  {&shown, 2},
                                  {&pingMedian, 3},
                                  {&pingMin, 4},
                                  {&pingMax, 5},
                                  {&rows, 6},
                                  {&peak, 7}})
            figures->push_back(s.value(i).toDouble());
    }
    void print(const char* title, double floor, int delayMs) const {
        const double a = median(shown);
        std::printf("  browser, %s: sweep sent in %.1f ms; %.0f of %d rows answered (all in %s "
                    "runs); all written after %.1f ms, shown after %.1f ms\n",
                    title, median(sweep), median(rows), serverCount, wholeRuns(rows).constData(),
                    median(answered), a);
        std::printf("    shown / floor %.2f, shown - floor %+.1f ms; pings median %.0f ms, min "
                    "%.0f, max %.0f (delay %d ms); peak memory %.0f KiB\n",
                    a / floor, a - floor, median(pingMedian), median(pingMin), median(pingMax),
                    delayMs, median(peak));
    }
};

// The browser as built, with the endpoint's socket given a 208 KiB receive
// buffer (what a desktop with the kernel's default rmem_max grants), and with
// host names looked up in 20 ms each.
void measureSweeps(const QString& store, const QString& namedStore, const QString& replyFile,
                   int delayMs, int runs) {
    const auto responder = startResponder(replyFile, delayMs, serverCount - 1);
    SweepFigures asBuilt, smallBuffer, named;
    std::vector<double> floor, floorRows, floorPing, floorPingMax, smallFloorRows;
    for (int i = 0; i < runs; ++i) { // interleaved, so that load on the machine hits all alike
        smallFloorRows.push_back(
            runChild("--floor", store, {}, smallReceiveBuffer).value(1).toDouble());
        asBuilt.add(runChild("--sweep", store));
        smallBuffer.add(runChild("--sweep", store, {}, smallReceiveBuffer));
        named.add(runChild("--sweep", namedStore, {}, 0, 20));
        const QStringList f = runChild("--floor", store);
        floor.push_back(f.value(0).toDouble());
        floorRows.push_back(f.value(1).toDouble());
        floorPing.push_back(f.value(2).toDouble());
        floorPingMax.push_back(f.value(3).toDouble());
    }
    responder->kill();
    responder->waitForFinished();
    const double f = median(floor);
    std::printf("replies %s (median of %d runs)\n",
                delayMs ? qPrintable(QStringLiteral("%1 ms late").arg(delayMs)) : "at once", runs);
    std::printf("  floor: all replies after %.1f ms (%.0f answered); round trips median %.1f ms, "
                "max %.1f\n",
                f, median(floorRows), median(floorPing), median(floorPingMax));
    std::printf("  floor, 208 KiB receive buffer: %.0f answered (all in %s runs)\n",
                median(smallFloorRows), wholeRuns(smallFloorRows).constData());
    asBuilt.print("as built", f, delayMs);
    smallBuffer.print("208 KiB receive buffer", f, delayMs);
    named.print("host names, 20 ms lookups", f, delayMs);
}

// Datagram kinds of the flood, in turn.
QByteArray floodDatagram(int i) {
    static const QByteArray valid = sixteenPlayers();
    switch (i % 5) {
    case 0:
        return valid;
    case 1: {
        QByteArray garbage(1 + QRandomGenerator::global()->bounded(2048), '\0');
        for (char& c : garbage)
            c = char(QRandomGenerator::global()->bounded(256));
        return garbage;
    }
    case 2:
        return QByteArray(3000, '\\');
    case 3:
        return {};
    default:
        return "\\numplayers\\3\\maxplayers\\many\\";
    }
}

void measureFlood(const QString& store, const QString& replyFile) {
    // The last server's query port is the flood's source, so valid replies
    // in the flood are accounted to it; the responder answers all others.
    const auto responder = startResponder(replyFile, 0, serverCount - 2);
    QUdpSocket flood;
    if (!flood.bind(QHostAddress::LocalHost, queryPortOf(serverCount - 1))) {
        std::fprintf(stderr, "cannot bind the flood's port\n");
        return;
    }
    constexpr int datagrams = 100000;
    QElapsedTimer sending;
    qint64 refused = 0;
    const QStringList r = runChild("--flood", store, [&](QProcess& child) {
        child.waitForReadyRead(10000); // "ready"
        child.readLine();
        sending.start();
        for (int i = 0; i < datagrams; ++i)
            if (flood.writeDatagram(floodDatagram(i), QHostAddress::LocalHost, 15015) < 0)
                ++refused;
    });
    responder->kill();
    responder->waitForFinished();
    std::printf("flood of %d datagrams at port 15015 during a sweep (sent in %lld ms, %lld "
                "refused by the sender's socket)\n",
                datagrams, sending.elapsed(), refused);
    if (r.size() < 6) {
        std::printf("  the browser process failed\n");
        return;
    }
    std::printf("  longest event-loop stall %.1f ms; %s datagrams handled; %s message boxes; "
                "%s of %d rows answered; status \"%s\"; peak %s KiB\n",
                r[0].toDouble(), qPrintable(r[1]), qPrintable(r[2]), qPrintable(r[3]), serverCount,
                qPrintable(QString(r[4]).replace('_', ' ')), qPrintable(r[5]));
}

// Child: a bare Qt window with an empty table; prints its peak KiB.
int bareChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QTableWidget table(0, 3);
    table.show();
    QCoreApplication::processEvents();
    std::printf("0 0 0 0 0 0 0 %ld\n", peakKilobytes());
    return 0;
}

int runAll(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString store = dir.filePath("zam-launcher/registry.reg");
    writeSeededStore(store, QCoreApplication::applicationFilePath(), 0, serverCount, firstGamePort);
    const QString namedStore = dir.filePath("named/zam-launcher/registry.reg");
    writeSeededStore(namedStore, QCoreApplication::applicationFilePath(), 0, serverCount,
                     firstGamePort, QStringLiteral("server-%1.bench"));
    const QString replyFile = dir.filePath("reply.bin");
    QFile reply(replyFile);
    reply.open(QIODevice::WriteOnly);
    reply.write(sixteenPlayers());
    reply.close();

    const int runs = argc > 1 ? QString(argv[1]).toInt() : 5;
    std::vector<double> bare;
    for (int i = 0; i < runs; ++i)
        bare.push_back(runChild("--bare", store).value(7).toDouble());
    std::printf("peak memory of a bare Qt window with an empty table: %.0f KiB\n", median(bare));
    measureSweeps(store, namedStore, replyFile, 0, runs);
    measureSweeps(store, namedStore, replyFile, 50, runs);
    measureFlood(store, replyFile);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode.startsWith("--")) {
        StoreLocation::setPath(qEnvironmentVariable("ZAM_BENCH_STORE"));
        if (mode == "--sweep")
            return sweepChild(argc, argv);
        if (mode == "--floor")
            return floorChild(argc, argv);
        if (mode == "--flood")
            return floodChild(argc, argv);
        if (mode == "--bare")
            return bareChild(argc, argv);
    }
    return runAll(argc, argv);
}
