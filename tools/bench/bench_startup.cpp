// Start-up and store benchmark. Without arguments it runs every measurement
// several times, each start-up in a fresh process, and prints medians:
//   - the time from starting a process until its main window is shown, for
//     the launcher with 1025 mods and 1025 servers in its store and for a bare
//     Qt window with an empty table, with the ratio; for the launcher also
//     the time until its other six windows are made as well;
//   - the load of that full store, and the launcher's saves of it: one that
//     changes nothing (the file is not written), one with one server changed
//     and one with every entry changed (both rewrite and sync the file);
//   - the peak memory (maximum resident set) of each start-up process.
// One start-up can be run alone, e.g. under callgrind: "--seed <file>" writes
// that store, then "--launcher" or "--bare" with ZAM_BENCH_STORE=<file> and
// QT_QPA_PLATFORM=offscreen shows the window.
#include "app/ApplicationWindows.h"
#include "settings/ParsedStore.h"
#include "settings/StoreLocation.h"
#include "state/LauncherState.h"
#include "tools/bench/StoreSeed.h"
#include "windows/FontPrefetch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

qint64 wallMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Child process: shows one kind of window the way the application does, then
// prints when it was shown, when every window was made, and the peak memory.
int showWindow(int argc, char** argv, bool launcher) {
    QApplication app(argc, argv);
    std::future<void> fonts;
    if (launcher) { // as the launcher's main does
        prefetchParsedStore(StoreLocation::path());
        fonts = prefetchFontDatabase();
    }
    QApplication::setQuitOnLastWindowClosed(false);
    std::unique_ptr<ApplicationWindows> windows;
    std::unique_ptr<QMainWindow> bare;
    if (launcher) {
        windows = std::make_unique<ApplicationWindows>();
        windows->showMain();
    } else {
        bare = std::make_unique<QMainWindow>();
        bare->setCentralWidget(new QTableWidget(0, 3));
        bare->show();
    }
    QCoreApplication::processEvents();
    const qint64 shown = wallMicros();
    while (windows && !windows->othersCreated())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 allMade = wallMicros();
    std::printf("%lld %lld %ld\n", static_cast<long long>(shown), static_cast<long long>(allMade),
                peakKilobytes());
    std::fflush(stdout);
    windows.reset();
    bare.reset();
    std::_Exit(0); // the main window's close would save; the measurement is done
}

struct Sample {
    double millis;
    double allMadeMillis;
    long peakKb;
};

Sample runChild(const QString& mode, const QString& storePath) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ZAM_BENCH_STORE", storePath);
    child.setProcessEnvironment(env);
    const qint64 started = wallMicros();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    child.waitForFinished(60000);
    QTextStream out(child.readAllStandardOutput());
    qint64 shown = 0, allMade = 0;
    long peak = 0;
    out >> shown >> allMade >> peak;
    return {double(shown - started) / 1000.0, double(allMade - started) / 1000.0, peak};
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr int storeRuns = 21;

// Medians, in ms, of the store's load and of the launcher's saves (only what
// differs from the last load or save is written; a save that writes
// anything rewrites the file and syncs it to the disk).
struct StoreTimes {
    double load, unchanged, oneChanged, allChanged;
};

StoreTimes timeStore() {
    LauncherState state;
    std::vector<double> load, unchanged, oneChanged, allChanged;
    const auto timed = [](std::vector<double>& into, const std::function<void()>& step) {
        QElapsedTimer timer;
        timer.start();
        step();
        into.push_back(double(timer.nsecsElapsed()) / 1e6);
    };
    for (int i = 0; i < storeRuns; ++i) {
        // Each run's names differ from the previous run's, so every save
        // below but the first has something to write.
        const QString suffix = i % 2 ? QStringLiteral(" b") : QStringLiteral(" a");
        timed(load, [&] { state.load(); });
        timed(unchanged, [&] { state.save(); });
        timed(oneChanged, [&] {
            state.servers.Name[0] = QStringLiteral("Server 0") + suffix;
            state.save();
        });
        timed(allChanged, [&] {
            for (int k = 0; k <= state.mods.Last; ++k)
                state.mods.Name[k] = QStringLiteral("Mod %1").arg(k) + suffix;
            for (int k = 0; k <= state.servers.Last; ++k)
                state.servers.Name[k] = QStringLiteral("Server %1").arg(k) + suffix;
            state.save();
        });
    }
    return {median(load), median(unchanged), median(oneChanged), median(allChanged)};
}

int runAll(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString store = dir.filePath("zam-launcher/registry.reg");
    const QString exe = QCoreApplication::applicationFilePath();
    writeSeededStore(store, exe, SLOT_COUNT, SLOT_COUNT);

    const int runs = 21; // short runs: enough of them for a steady median on a busy machine
    std::vector<double> bareMs, launcherMs, allMadeMs;
    std::vector<long> bareKb, launcherKb;
    for (int i = 0; i < runs; ++i) { // interleaved, so that load on the machine hits both alike
        const Sample bare = runChild("--bare", store);
        const Sample launcher = runChild("--launcher", store);
        bareMs.push_back(bare.millis);
        bareKb.push_back(bare.peakKb);
        launcherMs.push_back(launcher.millis);
        allMadeMs.push_back(launcher.allMadeMillis);
        launcherKb.push_back(launcher.peakKb);
    }

    StoreLocation::setPath(store);
    const StoreTimes times = timeStore();
    const double bare = median(bareMs), launcher = median(launcherMs);
    std::printf("start-up until the main window is shown (median of %d runs)\n", runs);
    std::printf("  bare Qt window, empty table:        %7.1f ms, peak %6ld KiB\n", bare,
                median(bareKb));
    std::printf("  launcher, 1025 mods + 1025 servers: %7.1f ms, peak %6ld KiB\n", launcher,
                median(launcherKb));
    std::printf("  ratio launcher / bare: time %.2f, memory %.2f\n", launcher / bare,
                double(median(launcherKb)) / double(median(bareKb)));
    std::printf("  launcher until all seven windows are made: %.1f ms\n", median(allMadeMs));
    std::printf("the full store, as the launcher saves it (median of %d):\n", storeRuns);
    std::printf("  load:                                          %6.1f ms\n", times.load);
    std::printf("  save that changes nothing (the file stays):    %6.1f ms\n", times.unchanged);
    std::printf("  save of one changed server (written, synced):  %6.1f ms\n", times.oneChanged);
    std::printf("  save of every entry changed (written, synced): %6.1f ms\n", times.allChanged);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == "--bare" || mode == "--launcher") {
        StoreLocation::setPath(qEnvironmentVariable("ZAM_BENCH_STORE"));
        return showWindow(argc, argv, mode == "--launcher");
    }
    if (mode == "--seed" && argc > 2) {
        QCoreApplication app(argc, argv);
        writeSeededStore(QString::fromLocal8Bit(argv[2]), QCoreApplication::applicationFilePath(),
                         SLOT_COUNT, SLOT_COUNT);
        return 0;
    }
    return runAll(argc, argv);
}
