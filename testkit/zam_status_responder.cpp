// zam-status-responder: answers status queries on 127.0.0.1 like game servers
// do, for demos, manual tests and benchmarks.

#include "testkit/StatusResponder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

namespace {

const char usage[] =
    "usage: zam-status-responder GROUP...\n"
    "GROUP: (--port P | --ports FIRST-LAST) [OPTION...]; options apply to the group they follow\n"
    "  --reply TEXT      one reply datagram; \\\\ stands for one backslash and \\xHH for the\n"
    "                    byte HH, any other character is taken as it is (repeatable)\n"
    "  --reply-file F    one reply datagram with the bytes of file F (repeatable)\n"
    "  --split N         cut every reply into datagrams of at most N bytes\n"
    "  --delay MS        answer MS milliseconds after the request\n"
    "  --silent          never answer\n"
    "  --then-after S    S seconds (decimals allowed) after the options before it took effect,\n"
    "                    answer with the options that follow it instead (repeatable)\n"
    "  --any             listen on every address, not only 127.0.0.1, so broadcasts\n"
    "                    reach it (for tests inside network namespaces; anywhere in the line)\n"
    "Port 0 picks a free port. Without a reply a group answers a small coop game.\n";

const QByteArray defaultReply =
    "\\gametype\\Coop\\numplayers\\1\\maxplayers\\12\\gstate\\14\\player_0\\Bob\\score_0\\5\\";

// What a group answers from startMs after the responder started listening.
struct Phase {
    qint64 startMs = 0;
    QList<QByteArray> replies;
    int split = 0;
    bool silent = false;
    ResponderScript script;
};

struct Group {
    quint16 firstPort = 0;
    quint16 lastPort = 0;
    QList<Phase> phases{Phase{}};
};

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray unescape(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            ++i;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
                   hexValue(text[i + 2]) >= 0 && hexValue(text[i + 3]) >= 0) {
            bytes += char(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

int toNumber(const QString& text, const char* what) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        throw std::runtime_error(std::string("bad ") + what + ": " + text.toStdString());
    return n;
}

qint64 secondsToMs(const QString& text) {
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0) || seconds > 1e9)
        throw std::runtime_error("bad seconds: " + text.toStdString());
    return qint64(seconds * 1000);
}

QList<Group> parseGroups(const QStringList& args) {
    QList<Group> groups;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString option = args[i];
        if (option == QLatin1String("--help"))
            throw std::runtime_error("");
        if (i + 1 >= args.size() && option != QLatin1String("--silent"))
            throw std::runtime_error("missing value after " + option.toStdString());
        if (option == QLatin1String("--port") || option == QLatin1String("--ports")) {
            const QStringList range = args[++i].split(u'-');
            Group g;
            g.firstPort = quint16(toNumber(range.first(), "port"));
            g.lastPort = quint16(toNumber(range.last(), "port"));
            if (range.size() > 2 || g.lastPort < g.firstPort)
                throw std::runtime_error("bad port range");
            groups.append(g);
            continue;
        }
        if (groups.isEmpty())
            throw std::runtime_error(option.toStdString() + " before any --port");
        Phase& g = groups.last().phases.last();
        if (option == QLatin1String("--then-after")) {
            Phase next;
            next.startMs = g.startMs + secondsToMs(args[++i]);
            groups.last().phases.append(next);
        } else if (option == QLatin1String("--reply")) {
            g.replies.append(unescape(args[++i].toLocal8Bit()));
        } else if (option == QLatin1String("--reply-file")) {
            QFile file(args[++i]);
            if (!file.open(QIODevice::ReadOnly))
                throw std::runtime_error("cannot read " + file.fileName().toStdString());
            g.replies.append(file.readAll());
        } else if (option == QLatin1String("--split")) {
            g.split = toNumber(args[++i], "split");
        } else if (option == QLatin1String("--delay")) {
            g.script.delayMs = toNumber(args[++i], "delay");
        } else if (option == QLatin1String("--silent")) {
            g.silent = true;
        } else {
            throw std::runtime_error("unknown option " + option.toStdString());
        }
    }
    if (groups.isEmpty())
        throw std::runtime_error("no --port given");
    for (Group& group : groups) {
        for (Phase& g : group.phases) {
            if (g.replies.isEmpty())
                g.replies.append(defaultReply);
            if (!g.silent) {
                for (const QByteArray& reply : g.replies)
                    g.script.datagrams += g.split > 0 ? StatusResponder::split(reply, g.split)
                                                      : QList<QByteArray>{reply};
            }
        }
    }
    return groups;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    const QHostAddress address = arguments.removeAll(QStringLiteral("--any")) > 0
                                     ? QHostAddress(QHostAddress::AnyIPv4)
                                     : QHostAddress(QHostAddress::LocalHost);
    QList<Group> groups;
    try {
        groups = parseGroups(arguments);
    } catch (const std::exception& e) {
        if (*e.what())
            std::fprintf(stderr, "zam-status-responder: %s\n", e.what());
        std::fputs(usage, stderr);
        return 2;
    }

    StatusResponder responder;
    QTextStream out(stdout);
    for (const Group& g : groups) {
        for (int port = g.firstPort; port <= g.lastPort; ++port) {
            const quint16 bound = responder.listen(quint16(port), g.phases.first().script, address);
            if (bound == 0) {
                std::fprintf(stderr, "zam-status-responder: cannot listen on port %d\n", port);
                return 1;
            }
            for (const Phase& later : g.phases.mid(1))
                QTimer::singleShot(later.startMs, &responder, [&responder, bound, later] {
                    responder.setScript(bound, later.script);
                });
            out << "listening on " << address.toString() << u':' << bound << Qt::endl;
        }
    }
    return app.exec();
}
