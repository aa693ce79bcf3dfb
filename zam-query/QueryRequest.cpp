#include "zam-query/QueryRequest.h"

#include <algorithm>

const char queryUsage[] =
    "usage: zam-query [--sockets | --dplay] [--timeout MS] [--json] [HOST:PORT...]\n"
    "       zam-query --lan [--timeout MS] [--json]\n"
    "       zam-query --help\n"
    "Queries the game servers given by host and game port, or all servers saved\n"
    "in the launcher's settings when none is given, and prints what they answered.\n"
    "  --sockets     the servers use the Sockets implementation (query port + 1; default)\n"
    "  --dplay       the servers use DirectPlay (query port + 2)\n"
    "  --timeout MS  wait at most MS milliseconds for the replies (default 2000)\n"
    "  --json        print JSON with the players and their scores instead of a table\n"
    "  --lan         find the servers on the local network by broadcast instead, on game\n"
    "                ports 2302 to 2402, collecting answers for MS milliseconds\n"
    "Exit status: 0 when a server answered, 1 when none did, 2 for bad arguments\n"
    "or no saved servers.\n";

namespace {

// A decimal number from 0 to max, digits only.
int parseBounded(const QString& text, int max, const QString& what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!ok || !digitsOnly || value > max)
        throw UsageError(QStringLiteral("bad %1: %2").arg(what, text).toStdString());
    return value;
}

} // namespace

QueryRequest parseQueryArguments(const QStringList& arguments) {
    QueryRequest request;
    ServerTable& servers = *request.servers;
    bool sockets = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--sockets") || argument == QLatin1String("--dplay")) {
            sockets = argument == QLatin1String("--sockets");
        } else if (argument == QLatin1String("--json")) {
            request.json = true;
        } else if (argument == QLatin1String("--lan")) {
            request.lan = true;
        } else if (argument == QLatin1String("--timeout")) {
            if (++i == arguments.size())
                throw UsageError("missing value after --timeout");
            request.timeoutMs = parseBounded(arguments[i], 600000, QStringLiteral("timeout"));
        } else if (argument.startsWith(u'-')) {
            throw UsageError(QStringLiteral("unknown option: %1").arg(argument).toStdString());
        } else {
            const qsizetype colon = argument.lastIndexOf(u':');
            if (colon <= 0)
                throw UsageError(QStringLiteral("not HOST:PORT: %1").arg(argument).toStdString());
            if (servers.Last + 1 == SLOT_COUNT)
                throw UsageError(
                    QStringLiteral("more than %1 servers").arg(SLOT_COUNT).toStdString());
            const int port = parseBounded(argument.mid(colon + 1), 65535, QStringLiteral("port"));
            const int slot = ++servers.Last;
            servers.Host[slot] = argument.left(colon);
            // The canonical text: replies are matched against it.
            servers.Port[slot] = QString::number(port);
        }
    }
    if (request.lan && servers.Last >= 0)
        throw UsageError("--lan takes no servers");
    // The implementation option applies to every server, wherever it stands.
    for (int slot = 0; slot <= servers.Last; ++slot)
        servers.Sockets[slot] = sockets;
    return request;
}
