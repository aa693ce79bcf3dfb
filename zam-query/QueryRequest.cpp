#include "zam-query/QueryRequest.h"

#include <QFile>
#include <QStringTokenizer>
#include <algorithm>
#include <cstdio>

const char queryUsage[] =
    "usage: zam-query [--sockets | --dplay] [--timeout MS] [--rate N] [--json]\n"
    "                 [--friends] [--file FILE] [HOST:PORT...]\n"
    "       zam-query --lan [--timeout MS] [--json]\n"
    "       zam-query --master HOST:PORT --game NAME [--key KEY] [--master-timeout MS]\n"
    "                 [--timeout MS] [--rate N] [--json]\n"
    "       zam-query --help\n"
    "Queries the game servers given by host and game port, or all servers saved\n"
    "in the launcher's settings when none is given, and prints what they answered.\n"
    "  --sockets     the servers use the Sockets implementation (query port + 1; default)\n"
    "  --dplay       the servers use DirectPlay (query port + 2)\n"
    "  --timeout MS  wait at most MS milliseconds for the replies (default 2000)\n"
    "  --rate N      send at most N queries a second (default 500, about 2 Mbit/s of\n"
    "                replies; raise it on a fast link or a LAN)\n"
    "  --file FILE   also query the HOST:PORT entries of FILE, one per line or\n"
    "                separated by blanks; - reads them from the standard input\n"
    "  --json        print JSON with the players and their scores instead of a table\n"
    "  --friends     print only the servers with a friend of the launcher's friends\n"
    "                list on them, naming the friends; exit status 0 when a friend\n"
    "                was found, 1 when none was\n"
    "  --lan         find the servers on the local network by broadcast instead, on game\n"
    "                ports 2302 to 2402, collecting answers for MS milliseconds\n"
    "  --master HOST:PORT, --game NAME, --key KEY\n"
    "                query the servers of a master server's list instead: the master\n"
    "                (several separated by \";\", tried in order), the game name and\n"
    "                the secret key sent to it; each defaults to the launcher's settings\n"
    "  --master-timeout MS  give a master at most MS milliseconds (default 10000)\n"
    "Exit status: 0 when a server answered (with --friends: a friend was found),\n"
    "1 when none did or no master gave a list, 2 for bad arguments or no saved\n"
    "servers (or friends).\n";

namespace {

// A decimal number from 0 to max, digits only.
int parseBounded(QStringView text, int max, const char* what) {
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9' || (value = value * 10 + (c.unicode() - u'0')) > max) {
            value = -1;
            break;
        }
    }
    if (text.isEmpty() || value < 0)
        throw UsageError(QStringLiteral("bad %1: %2")
                             .arg(QLatin1StringView(what), text.toString())
                             .toStdString());
    return int(value);
}

QueriedServer parseServer(QStringView text) {
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon <= 0)
        throw UsageError(QStringLiteral("not HOST:PORT: %1").arg(text.toString()).toStdString());
    QueriedServer server;
    server.host = text.first(colon).toString();
    // The canonical text: replies are matched against it.
    server.port = QString::number(parseBounded(text.sliced(colon + 1), 65535, "port"));
    return server;
}

void readServerFile(const QString& path, std::vector<QueriedServer>& servers) {
    QFile file(path);
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : file.open(QIODevice::ReadOnly);
    if (!opened)
        throw UsageError(
            QStringLiteral("cannot read %1: %2").arg(path, file.errorString()).toStdString());
    const QString text = QString::fromUtf8(file.readAll()).simplified();
    servers.reserve(servers.size() + size_t(text.count(u' ')) + 1);
    for (const QStringView entry : QStringTokenizer(text, u' ', Qt::SkipEmptyParts))
        servers.push_back(parseServer(entry));
}

// The master option named by argument, or nullptr.
std::optional<QString>* masterOption(QueryRequest& request, const QString& argument) {
    if (argument == QLatin1String("--master"))
        return &request.masters;
    if (argument == QLatin1String("--game"))
        return &request.masterGame;
    if (argument == QLatin1String("--key"))
        return &request.masterKey;
    return nullptr;
}

} // namespace

QueryRequest parseQueryArguments(const QStringList& arguments) {
    QueryRequest request;
    std::vector<QueriedServer>& servers = request.servers;
    bool sockets = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--sockets") || argument == QLatin1String("--dplay")) {
            sockets = argument == QLatin1String("--sockets");
        } else if (argument == QLatin1String("--json")) {
            request.json = true;
        } else if (argument == QLatin1String("--friends")) {
            request.friends = true;
        } else if (argument == QLatin1String("--lan")) {
            request.lan = true;
        } else if (argument == QLatin1String("--timeout")) {
            if (++i == arguments.size())
                throw UsageError("missing value after --timeout");
            request.timeoutMs = parseBounded(arguments[i], 600000, "timeout");
        } else if (argument == QLatin1String("--rate")) {
            if (++i == arguments.size())
                throw UsageError("missing value after --rate");
            request.rate = parseBounded(arguments[i], 100000000, "rate");
            if (request.rate == 0)
                throw UsageError("bad rate: 0");
        } else if (std::optional<QString>* master = masterOption(request, argument)) {
            if (++i == arguments.size())
                throw UsageError(
                    QStringLiteral("missing value after %1").arg(argument).toStdString());
            *master = arguments[i];
        } else if (argument == QLatin1String("--master-timeout")) {
            if (++i == arguments.size())
                throw UsageError("missing value after --master-timeout");
            request.masterTimeoutMs = parseBounded(arguments[i], 600000, "master timeout");
        } else if (argument == QLatin1String("--file")) {
            if (++i == arguments.size())
                throw UsageError("missing value after --file");
            readServerFile(arguments[i], servers);
        } else if (argument.startsWith(u'-')) {
            throw UsageError(QStringLiteral("unknown option: %1").arg(argument).toStdString());
        } else {
            servers.push_back(parseServer(argument));
        }
    }
    if (request.lan && !servers.empty())
        throw UsageError("--lan takes no servers");
    if (request.lan && request.friends)
        throw UsageError("--lan and --friends do not go together");
    if (request.fromMaster() && (request.lan || !servers.empty()))
        throw UsageError("a master's list takes no other servers");
    // The implementation option applies to every server, wherever it stands.
    for (QueriedServer& server : servers)
        server.sockets = sockets;
    return request;
}
