// The internet list at scale: a stand-in master on 127.0.0.1 lists 4,096
// servers (16 addresses of 127.1.0.0/24 times 256 ports) that fast_responder
// answers with a 16-player reply. Medians of several runs:
//   - the floor: bare_query sending the same 4,096 queries from one socket
//     and waiting for every reply, as a whole process;
//   - zam-query --master, unpaced, as a whole process (start, fetch, sweep,
//     report), against the floor;
//   - the sweep alone, in process, from the list's arrival to its end:
//     zam-query's own fetch and sweep functions, against the floor;
//   - the browser on "Internet": the time from the master's last byte to
//     the first paint of the grid with the list's first row in it, and to
//     the end of its sweep (the browser holds the list's first 1,025).
//   bench_master_list [RUNS]
#include "browser/ServerGrid.h"
#include "browser/ServerSource.h"
#include "browser/Unit4.h"
#include "state/LauncherState.h"
#include "testkit/StandInMaster.h"
#include "tools/bench/BenchReply.h"
#include "zam-query/MasterServers.h"
#include "zam-query/QuerySweep.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardItem>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int serverCount = 4096;
constexpr int portsPerAddress = 256;
constexpr int firstQueryPort = 24001;

QString tool(const QString& name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

std::vector<MasterEntry> listedServers() {
    std::vector<MasterEntry> entries;
    for (int i = 0; i < serverCount; ++i)
        entries.push_back({0x7F010000u + quint32(i / portsPerAddress),
                           quint16(firstQueryPort + i % portsPerAddress)});
    return entries;
}

double median(int runs, const std::function<double()>& run) {
    std::vector<double> values;
    for (int i = 0; i < runs; ++i)
        values.push_back(run());
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs a program to its end while this process's master keeps answering;
// output gets what it printed. Returns the milliseconds it took.
double runProcess(const QString& program, const QStringList& args, QByteArray* output = nullptr) {
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(program, args);
    while (!child.waitForFinished(1))
        QCoreApplication::processEvents();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (output)
        *output = child.readAllStandardOutput();
    return ms;
}

struct BrowserRun {
    double firstRowMs = 0;
    double sweptMs = 0;
};

// Paints of the grid's viewport once its first row has text: the first one
// is when the user sees the list.
class FirstRowPaint : public QObject {
public:
    FirstRowPaint(ServerGrid* grid, const QElapsedTimer& since) : grid_(grid), since_(since) {
        grid->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && ms < 0 && grid_->rowCount() > 0 && grid_->item(0, 0))
            ms = since_.nsecsElapsed() / 1e6;
        return false;
    }
    double ms = -1;

private:
    ServerGrid* grid_;
    const QElapsedTimer& since_;
};

BrowserRun browserRun(StandInMaster& master, const QString& cacheFile) {
    QFile::remove(cacheFile);
    TForm4 browser;
    browser.show();
    FirstRowPaint paint(browser.SGrid, master.answerSent);
    browser.source()->choice->setCurrentIndex(1);
    const auto allAnswered = [&] {
        for (int row = 0; row < browser.SGrid->rowCount(); ++row)
            if (!browser.SGrid->item(row, 2) || browser.SGrid->item(row, 2)->text() == "??")
                return false;
        return browser.SGrid->rowCount() > 0;
    };
    QElapsedTimer limit;
    limit.start();
    while (!allAnswered() && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return {paint.ms, master.answerSent.nsecsElapsed() / 1e6};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QFile reply(dir.filePath("reply"));
    reply.open(QIODevice::WriteOnly);
    reply.write(sixteenPlayerReply());
    reply.close();
    QProcess responder;
    responder.start(
        tool("fast_responder"),
        {"--ports",
         QStringLiteral("%1-%2").arg(firstQueryPort).arg(firstQueryPort + portsPerAddress - 1),
         "--reply-file", reply.fileName()});
    if (!responder.waitForReadyRead(10000) || !responder.readLine().startsWith("ready")) {
        std::fprintf(stderr, "responder did not start\n");
        return 1;
    }

    const std::vector<MasterEntry> entries = listedServers();
    QFile queryFile(dir.filePath("query"));
    queryFile.open(QIODevice::WriteOnly);
    for (const MasterEntry& entry : entries)
        queryFile.write(entry.host().toLatin1() + ':' + QByteArray::number(entry.queryPort) + '\n');
    queryFile.close();
    StandInMaster master;
    master.answer = StandInMaster::listAnswer(entries, true);

    std::printf("%d listed servers, replies at once, median of %d runs\n", serverCount, runs);
    QByteArray out;
    const double floor =
        median(runs, [&] { return runProcess(tool("bare_query"), {queryFile.fileName()}, &out); });
    std::printf("  %-44s %8.1f ms  (%d answered)\n", "floor (bare_query)", floor,
                out.trimmed().toInt());
    const QStringList masterArgs{"--master", master.address(), "--game",   "zam", "--key",
                                 "k",        "--rate",         "100000000"};
    const double whole =
        median(runs, [&] { return runProcess(tool("zam-query"), masterArgs, &out); });
    std::printf("  %-44s %8.1f ms  (%lld rows)  %5.2fx floor\n",
                "zam-query --master, whole process", whole, qlonglong(out.count('\n')) - 1,
                whole / floor);

    int answered = 0;
    const double sweep = median(runs, [&] {
        QueryRequest request;
        request.masters = master.address();
        request.masterGame = QStringLiteral("zam");
        request.masterKey = QStringLiteral("k");
        QStringList errors;
        readMasterServers(request, errors);
        QElapsedTimer clock;
        clock.start();
        runQuerySweep(request.servers, 2000, 100000000, false);
        answered = int(std::count_if(request.servers.begin(), request.servers.end(),
                                     [](const QueriedServer& s) { return s.answer.answered; }));
        return clock.nsecsElapsed() / 1e6;
    });
    std::printf("  %-44s %8.1f ms  (%d answered)  %5.2fx floor\n",
                "sweep after the list came, in process", sweep, answered, sweep / floor);

    LauncherState::instance().masters = {master.address(), QStringLiteral("zam"),
                                         QStringLiteral("k")};
    const QString cacheFile =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/internet-servers.txt";
    std::vector<BrowserRun> browser;
    for (int i = 0; i < runs; ++i)
        browser.push_back(browserRun(master, cacheFile));
    const auto middle = [&](double BrowserRun::*field) {
        std::vector<double> values;
        for (const BrowserRun& run : browser)
            values.push_back(run.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("  %-44s %8.1f ms\n", "browser: list arrived to first row painted",
                middle(&BrowserRun::firstRowMs));
    std::printf("  %-44s %8.1f ms  (%d rows)\n", "browser: list arrived to every row answered",
                middle(&BrowserRun::sweptMs), SLOT_COUNT);
    responder.kill();
    responder.waitForFinished();
    return 0;
}
