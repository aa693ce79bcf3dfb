// zam-query: queries game servers from the command line with the launcher's
// own query code and prints what they answered.

#include "base/VisibleText.h"
#include "zam-query/LanReport.h"
#include "zam-query/MasterServers.h"
#include "zam-query/QueryReport.h"
#include "zam-query/QueryRequest.h"
#include "zam-query/QuerySweep.h"
#include "zam-query/SavedFriends.h"
#include "zam-query/SavedServers.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void printError(const QString& text) {
    std::fputs(qPrintable(QStringLiteral("zam-query: ") + withVisibleControls(text) + u'\n'),
               stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QLatin1String("--help"))) {
        std::fputs(queryUsage, stdout);
        return 0;
    }
    QueryRequest request;
    try {
        request = parseQueryArguments(arguments);
    } catch (const UsageError& error) {
        printError(QString::fromStdString(error.what()));
        std::fputs(queryUsage, stderr);
        return 2;
    }
    if (request.lan)
        return printLanServers(request);
    std::vector<QueriedServer>& servers = request.servers;
    FriendTable friends;
    if (request.friends) {
        QStringList warnings;
        friends = readSavedFriends(warnings);
        for (const QString& warning : warnings)
            printError(warning);
        if (friends.Last < 0) {
            printError(QStringLiteral("no friends saved; add them in the launcher"));
            return 2;
        }
    }
    if (request.fromMaster()) {
        QStringList errors;
        const bool listed = readMasterServers(request, errors);
        for (const QString& error : errors)
            printError(error);
        if (!listed)
            return 1;
    } else if (servers.empty()) {
        QStringList warnings;
        const bool found = readSavedServers(servers, warnings);
        for (const QString& warning : warnings)
            printError(warning);
        if (!found || servers.empty()) {
            printError(QStringLiteral("no saved servers; give HOST:PORT arguments"));
            std::fputs(queryUsage, stderr);
            return 2;
        }
    }
    runQuerySweep(servers, request.timeoutMs, request.rate, request.json || request.friends);
    const bool found = request.friends
                           ? keepServersWithFriends(servers, friends)
                           : std::any_of(servers.begin(), servers.end(),
                                         [](const QueriedServer& s) { return s.answer.answered; });
    writeQueryReport(servers, request.json, stdout, request.friends);
    const int status = found ? 0 : 1;
#ifndef __SANITIZE_ADDRESS__
    // The system takes back the whole heap at once; freeing every server's
    // texts one by one would add a tenth to a large sweep. Sanitizer builds
    // free them, so their leak check still covers the sweep.
    std::fflush(stdout);
    std::_Exit(status);
#endif
    return status;
}
