// zam-query at scale. Answers from fast_responder (no Qt, replies within
// microseconds, from the address queried) with a 16-player status reply and
// times whole processes, median of several runs each:
//   - 1,025 servers on 127.0.0.1, replies at once and 50 ms late: the floor
//     (bare_query: one socket, no parsing), zam-query at its default rate and
//     unpaced (--rate 100000000, as on a LAN), and quakestat with its
//     defaults and with -maxsim 1025;
//   - 65,536 servers (256 addresses of 127.1.0.0/16 times 256 ports): the
//     floor and zam-query unpaced, with its table and with --json;
//   - zam-query's peak memory at both sizes, and the bytes per server, for the
//     table (which leaves the players out) and for --json (which keeps them).
//   bench_query_scale [RUNS]
#include "tools/bench/BenchReply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int firstQueryPort = 24001; // below the ephemeral ports other programs draw
const QString unpaced = QStringLiteral("100000000");

QString tool(const QString& name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

// The query addresses of count servers: ports first, then addresses.
QStringList queryAddresses(int count, int ports) {
    QStringList addresses;
    for (int i = 0; i < count; ++i) {
        const int a = i / ports;
        const QString host = count <= ports
                                 ? QStringLiteral("127.0.0.1")
                                 : QStringLiteral("127.1.%1.%2").arg(a / 256).arg(a % 256);
        addresses << host + u':' + QString::number(firstQueryPort + i % ports);
    }
    return addresses;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

std::unique_ptr<QProcess> startResponder(int ports, const QString& replyFile, int delayMs) {
    auto responder = std::make_unique<QProcess>();
    responder->start(tool("fast_responder"),
                     {"--ports",
                      QStringLiteral("%1-%2").arg(firstQueryPort).arg(firstQueryPort + ports - 1),
                      "--reply-file", replyFile, "--delay", QString::number(delayMs)});
    if (!responder->waitForReadyRead(10000) || !responder->readLine().startsWith("ready")) {
        std::fprintf(stderr, "responder did not start: %s\n",
                     responder->readAllStandardError().constData());
        responder->kill();
        responder->waitForFinished();
        std::exit(1);
    }
    return responder;
}

struct Timing {
    double ms = 0;
    int answered = 0;
};

// Runs a program to its end; answered reads its output. The output goes to a
// file, as a report redirected by its user would (a JSON report of 65,536
// servers is about 120 MB): the time is the program's writing, not this
// process gathering it from a pipe.
Timing timeRun(const QString& program, const QStringList& args,
               const std::function<int(const QByteArray&)>& answered) {
    const QTemporaryDir dir;
    const QString outputPath = dir.filePath(QStringLiteral("output"));
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    child.setStandardOutputFile(outputPath);
    QElapsedTimer clock;
    clock.start();
    child.start(program, args);
    child.waitForFinished(120000);
    const double ms = clock.nsecsElapsed() / 1e6;
    QFile output(outputPath);
    return {ms, output.open(QIODevice::ReadOnly) ? answered(output.readAll()) : 0};
}

Timing median(int runs, const std::function<Timing()>& run) {
    std::vector<Timing> timings;
    for (int i = 0; i < runs; ++i)
        timings.push_back(run());
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.ms < b.ms; });
    return timings[timings.size() / 2];
}

int countLines(const QByteArray& output, const std::function<bool(const QByteArray&)>& passes) {
    int count = 0;
    for (const QByteArray& line : output.split('\n'))
        count += passes(line) ? 1 : 0;
    return count;
}

int zamAnswered(const QByteArray& output) {
    return countLines(output,
                      [](const QByteArray& l) { return l.startsWith("- ") && !l.contains("??"); });
}

int qstatAnswered(const QByteArray& output) {
    return countLines(output, [](const QByteArray& l) {
        return l.startsWith("GPS,") && !l.contains("DOWN") && !l.contains("TIMEOUT");
    });
}

// The query and game addresses of count servers, in files for the tools.
struct ServerLists {
    QString queryFile, gameFile;
    QStringList query;
};

ServerLists serverLists(const QTemporaryDir& dir, int count, int ports) {
    ServerLists lists{{}, {}, queryAddresses(count, ports)};
    QByteArray query, game;
    for (const QString& address : lists.query) {
        const qsizetype colon = address.lastIndexOf(u':');
        query += address.toLatin1() + '\n';
        game += address.left(colon).toLatin1() + ':' +
                QByteArray::number(address.mid(colon + 1).toInt() - 1) + '\n';
    }
    lists.queryFile = writeFile(dir, QStringLiteral("query%1").arg(count), query);
    lists.gameFile = writeFile(dir, QStringLiteral("game%1").arg(count), game);
    return lists;
}

Timing floorRun(const ServerLists& lists) {
    return timeRun(tool("bare_query"), {lists.queryFile},
                   [](const QByteArray& out) { return out.trimmed().toInt(); });
}

int zamJsonAnswered(const QByteArray& output) {
    return int(output.count("\"answered\": true"));
}

// The table leaves the players out; the JSON report keeps every player.
enum class Report { Table, Json };

QStringList zamArguments(const ServerLists& lists, const QString& rate, Report report) {
    QStringList args{"--rate", rate, "--file", lists.gameFile};
    if (report == Report::Json)
        args << "--json";
    return args;
}

Timing zamRun(const ServerLists& lists, const QString& rate, Report report = Report::Table) {
    return timeRun(tool("zam-query"), zamArguments(lists, rate, report),
                   report == Report::Json ? zamJsonAnswered : zamAnswered);
}

// Peak resident KiB of one zam-query run, read by /usr/bin/time.
long zamPeakKiB(const ServerLists& lists, Report report) {
    QProcess child;
    child.start("/usr/bin/time",
                QStringList{"-f", "%M", tool("zam-query")} + zamArguments(lists, unpaced, report));
    child.waitForFinished(120000);
    return QByteArray(child.readAllStandardError()).trimmed().split('\n').last().toLong();
}

void line(const char* what, const Timing& t, int count, double floor) {
    std::printf("  %-34s %8.1f ms  (%d of %d answered)  %5.2fx floor\n", what, t.ms, t.answered,
                count, t.ms / floor);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString replyFile = writeFile(dir, "reply", sixteenPlayerReply());
    const QString quakestat = QStandardPaths::findExecutable("quakestat");

    const ServerLists small = serverLists(dir, 1025, 1025);
    for (const int delayMs : {0, 50}) {
        const auto responder = startResponder(1025, replyFile, delayMs);
        std::printf("1025 servers on 127.0.0.1, replies %s, median of %d runs, whole processes\n",
                    delayMs ? "50 ms late" : "at once", runs);
        const Timing floor = median(runs, [&] { return floorRun(small); });
        const Timing zam = median(runs, [&] { return zamRun(small, unpaced); });
        const Timing zamDefault = median(runs, [&] { return zamRun(small, "500"); });
        line("floor (bare_query)", floor, 1025, floor.ms);
        line("zam-query --rate 100000000", zam, 1025, floor.ms);
        line("zam-query (default rate 500/s)", zamDefault, 1025, floor.ms);
        if (!quakestat.isEmpty()) {
            for (const QString& maxsim : {QString(), QStringLiteral("1025")}) {
                QStringList args{"-raw", ",", "-nh", "-P"};
                if (!maxsim.isEmpty())
                    args << "-maxsim" << maxsim;
                for (const QString& address : small.query)
                    args << "-gps" << address;
                const Timing q =
                    median(runs, [&] { return timeRun(quakestat, args, qstatAnswered); });
                line(maxsim.isEmpty() ? "quakestat -P -gps" : "quakestat -P -gps -maxsim 1025", q,
                     1025, floor.ms);
                std::printf("    quakestat / zam-query (unpaced) %.1fx\n", q.ms / zam.ms);
            }
        }
        std::fflush(stdout);
        responder->kill();
        responder->waitForFinished();
    }

    const ServerLists large = serverLists(dir, 65536, 256);
    const auto responder = startResponder(256, replyFile, 0);
    std::printf("65536 servers (256 addresses x 256 ports), replies at once, median of %d runs\n",
                runs);
    const Timing floor = median(runs, [&] { return floorRun(large); });
    const Timing zam = median(runs, [&] { return zamRun(large, unpaced); });
    const Timing zamJson = median(runs, [&] { return zamRun(large, unpaced, Report::Json); });
    line("floor (bare_query)", floor, 65536, floor.ms);
    line("zam-query --rate 100000000", zam, 65536, floor.ms);
    line("zam-query --rate 100000000 --json", zamJson, 65536, floor.ms);
    for (const Report report : {Report::Table, Report::Json}) {
        const long smallKiB = zamPeakKiB(small, report), largeKiB = zamPeakKiB(large, report);
        std::printf("zam-query%s peak memory: %ld KiB with 1025 servers, %ld KiB with 65536: %.0f "
                    "bytes per server\n",
                    report == Report::Json ? " --json" : "", smallKiB, largeKiB,
                    double(largeKiB - smallKiB) * 1024 / (65536 - 1025));
    }
    responder->kill();
    responder->waitForFinished();
    return 0;
}
