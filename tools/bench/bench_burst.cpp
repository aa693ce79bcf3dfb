// Burst benchmark: how long a burst of datagrams holds the windows' event
// loop. A burst is 1,000 datagrams of 2 KB each full of "\score" tokens, sent
// as fast as one socket can from another thread, first at the watcher's port
// 15020 while it watches a server, then at the browser's port 15015 from the
// query port of the server it is sweeping (so the browser takes the burst as
// that server's reply). Per window it prints the medians of a few rounds:
//   - the longest stall of the event loop (the longest gap of a 1 ms timer)
//     from the start of the burst until the loop runs freely again;
//   - the input answer time: an event posted to the window at the end of the
//     burst, until the event loop handles it;
//   - how long after the burst's end the loop first ran freely again.
// Run it under the port lock: flock /tmp/zam-ports.lock build/bin/bench_burst
#include "app/Unit1.h"
#include "app/WindowLinks.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "settings/StoreLocation.h"
#include "tools/bench/StoreSeed.h"
#include "watcher/Unit6.h"
#include "windows/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int burstDatagrams = 1000;
constexpr int datagramBytes = 2048;
constexpr int rounds = 3;
constexpr quint16 serverGamePort = 20000; // StoreSeed's first server, Sockets: query port + 1
constexpr qint64 freeGapNs = 20'000'000;  // a loop that ticks within 20 ms runs freely
constexpr qint64 settleNs = 500'000'000;  // ...and has done so for 500 ms
constexpr qint64 capNs = 60'000'000'000;

class QuietPrompts final : public Prompts {
public:
    void information(QWidget*, const QString&) override {}
    bool confirm(QWidget*, const QString&) override { return false; }
    void error(QWidget*, const QString&) override {}
    std::optional<QString> openFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
};

QByteArray scoreDatagram() {
    QByteArray datagram;
    while (datagram.size() + 8 <= datagramBytes)
        datagram += "\\score\\1";
    datagram.append(datagramBytes - datagram.size(), '\\');
    return datagram;
}

// Sends the burst from 127.0.0.1:fromPort (0: any) to 127.0.0.1:toPort.
void sendBurst(quint16 fromPort, quint16 toPort) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(fromPort);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        std::perror("bench_burst: bind");
    address.sin_port = htons(toPort);
    const QByteArray datagram = scoreDatagram();
    for (int i = 0; i < burstDatagrams; ++i)
        sendto(fd, datagram.constData(), size_t(datagram.size()), 0,
               reinterpret_cast<sockaddr*>(&address), sizeof address);
    close(fd);
}

struct Round {
    double stallMs = 0;
    double answerMs = 0;
    double freeAfterMs = 0;
};

// Records when the event posted at the burst's end is handled.
class InputProbe : public QObject {
public:
    explicit InputProbe(const QElapsedTimer& clock) : clock_(clock) {}
    std::atomic<qint64> postedNs{-1};
    qint64 answeredNs = -1;

protected:
    void customEvent(QEvent*) override { answeredNs = clock_.nsecsElapsed(); }

private:
    const QElapsedTimer& clock_;
};

Round measureRound(quint16 fromPort, quint16 toPort) {
    QElapsedTimer clock;
    clock.start();
    InputProbe probe(clock);
    qint64 last = 0, longest = 0, lastStallEnd = 0;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - last > freeGapNs)
            lastStallEnd = now;
        longest = std::max(longest, now - last);
        last = now;
        const bool burstDone = probe.answeredNs >= 0;
        if ((burstDone && now - lastStallEnd > settleNs) || now > capNs)
            loop.quit();
    });
    std::thread sender([&] {
        sendBurst(fromPort, toPort);
        probe.postedNs = clock.nsecsElapsed();
        QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    });
    tick.start(1);
    loop.exec();
    sender.join();
    const double posted = double(probe.postedNs) / 1e6;
    return {double(longest) / 1e6, double(probe.answeredNs) / 1e6 - posted,
            std::max(0.0, double(lastStallEnd) / 1e6 - posted)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* window, const std::vector<Round>& results) {
    std::vector<double> stalls, answers, free;
    for (const Round& r : results) {
        stalls.push_back(r.stallMs);
        answers.push_back(r.answerMs);
        free.push_back(r.freeAfterMs);
    }
    std::printf("%-8s longest stall %8.1f ms   input answered after %8.1f ms   loop free "
                "%8.1f ms after the burst   (median of %d)\n",
                window, median(stalls), median(answers), median(free), rounds);
    std::fflush(stdout);
}

void settle(int ms) {
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Prompts::install(std::make_unique<QuietPrompts>());
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("registry.reg"));
    writeSeededStore(store, QCoreApplication::applicationFilePath(), 1, 1, serverGamePort);
    StoreLocation::setPath(store);

    TForm1 mainWindow;
    TForm2 modsEditor;
    TForm3 serversEditor;
    TForm4 browser;
    TAboutDialog about;
    TFormWatcher watcher;
    TFormOptions options;
    linkWindows(mainWindow, browser, watcher);
    std::printf("burst: %d datagrams of %d bytes full of \\score tokens\n", burstDatagrams,
                datagramBytes);

    std::vector<Round> results;
    watcher.watch(QStringLiteral("127.0.0.1"), QString::number(serverGamePort), true);
    for (int r = 0; r < rounds; ++r) {
        watcher.UpdateStatus(); // a new poll: the player list starts over
        settle(200);
        results.push_back(measureRound(0, 15020));
    }
    report("watcher", results);
    watcher.close();

    results.clear();
    browser.show();
    for (int r = 0; r < rounds; ++r) {
        settle(700); // the sweep that follows the activation has started
        results.push_back(measureRound(serverGamePort + 1, 15015));
    }
    report("browser", results);
    browser.close();
    mainWindow.hide();
    return 0;
}
