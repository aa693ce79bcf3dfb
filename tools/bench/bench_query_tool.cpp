// zam-query benchmark: 1025 servers on 127.0.0.1, answered by fast_responder
// (16 players each, within microseconds, as independent servers would) at
// once and 50 ms late, queried by zam-query (unpaced) and, when installed, by quakestat
// with its GameSpy protocol option, each in a fresh process. Prints the median wall time of several
// runs, the servers each one saw answer, and the ratio.
#include "settings/Tables.h"
#include "tools/bench/BenchReply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int serverCount = SLOT_COUNT;
constexpr int firstQueryPort = 31001; // Sockets servers: game port = query port - 1
constexpr int runs = 5;

std::unique_ptr<QProcess> startResponder(const QString& replyFile, int delayMs) {
    auto responder = std::make_unique<QProcess>();
    responder->start(
        QCoreApplication::applicationDirPath() + "/fast_responder",
        {"--ports",
         QStringLiteral("%1-%2").arg(firstQueryPort).arg(firstQueryPort + serverCount - 1),
         "--reply-file", replyFile, "--delay", QString::number(delayMs)});
    if (!responder->waitForReadyRead(5000) || !responder->readLine().startsWith("ready")) {
        std::fprintf(stderr, "responder did not start\n");
        std::exit(1);
    }
    return responder;
}

struct Timing {
    double ms = 0;
    int answered = 0;
};

// Runs the program to its end; answered counts the output lines that pass.
template <typename Count>
Timing timeRun(const QString& program, const QStringList& args, Count countAnswered) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(program, args);
    child.waitForFinished(60000);
    const double ms = clock.nsecsElapsed() / 1e6;
    int answered = 0;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
        answered += countAnswered(line) ? 1 : 0;
    return {ms, answered};
}

template <typename Count>
Timing median(const QString& program, const QStringList& args, Count countAnswered) {
    std::vector<Timing> timings;
    for (int run = 0; run < runs; ++run)
        timings.push_back(timeRun(program, args, countAnswered));
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.ms < b.ms; });
    return timings[timings.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString replyFile = dir.filePath("reply.bin");
    QFile file(replyFile);
    file.open(QIODevice::WriteOnly);
    file.write(sixteenPlayerReply());
    file.close();

    QStringList gameAddresses, queryAddresses;
    for (int i = 0; i < serverCount; ++i) {
        gameAddresses << QStringLiteral("127.0.0.1:%1").arg(firstQueryPort + i - 1);
        queryAddresses << QStringLiteral("127.0.0.1:%1").arg(firstQueryPort + i);
    }
    const QString zamQuery = QCoreApplication::applicationDirPath() + "/zam-query";
    const QString quakestat = QStandardPaths::findExecutable("quakestat");
    // quakestat -raw prints one line per server; silent ones say DOWN or TIMEOUT.
    const auto qstatAnswered = [](const QByteArray& line) {
        return line.startsWith("GPS,") && !line.contains("DOWN") && !line.contains("TIMEOUT");
    };
    const auto zamAnswered = [](const QByteArray& line) {
        return line.startsWith("- ") && !line.contains("??");
    };

    std::printf("%d servers on 127.0.0.1, median of %d runs, each a fresh process\n", serverCount,
                runs);
    for (const int delayMs : {0, 50}) {
        const auto responder = startResponder(replyFile, delayMs);
        // Unpaced, as on a LAN: the figure is the sweep's own, not its default rate's.
        const Timing zam = median(
            zamQuery, QStringList{"--timeout", "2000", "--rate", "100000000"} + gameAddresses,
            zamAnswered);
        std::printf("replies %s: zam-query %.1f ms (%d answered)",
                    delayMs ? "50 ms late" : "at once", zam.ms, zam.answered);
        if (!quakestat.isEmpty()) {
            for (const QString& maxsim : {QString(), QStringLiteral("1025")}) {
                QStringList args{"-raw", ",", "-nh", "-P"};
                if (!maxsim.isEmpty())
                    args << "-maxsim" << maxsim;
                for (const QString& address : queryAddresses)
                    args << "-gps" << address;
                const Timing qstat = median(quakestat, args, qstatAnswered);
                std::printf("; quakestat -P -gps%s %.1f ms (%d answered), ratio %.1f",
                            maxsim.isEmpty() ? "" : qPrintable(" -maxsim " + maxsim), qstat.ms,
                            qstat.answered, qstat.ms / zam.ms);
            }
        }
        std::printf("\n");
        std::fflush(stdout);
        responder->kill();
        responder->waitForFinished();
    }
    return 0;
}
