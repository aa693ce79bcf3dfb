#include "zam-query/QueryReport.h"

#include "base/VisibleText.h"
#include "zam-query/JsonReport.h"

#include <QStringEncoder>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {

using Row = std::array<QString, 6>;

// A server's texts reach the terminal with their control characters escaped.
QString displayed(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("-") : withVisibleControls(trimmed);
}

QString address(const QueriedServer& server) {
    return withVisibleControls(QString(server.host + u':' + server.port));
}

// A table with a header line and one line per server: name, address
// (host:game port), ping, players, mission; columns padded to their widest
// text. A server without a name shows "-". With friends, a last column
// names the friends on each server. Written a line at a time as UTF-8, so
// the table is never held whole.
void writeQueryTable(const std::vector<QueriedServer>& servers, bool friends, std::FILE* out) {
    const size_t columns = friends ? 6 : 5;
    std::vector<Row> rows{{"NAME", "ADDRESS", "PING", "PLAYERS", "MISSION", "FRIENDS"}};
    rows.reserve(servers.size() + 1);
    for (const QueriedServer& server : servers) {
        const ServerAnswer& answer = server.answer;
        rows.push_back(
            {displayed(server.name), address(server), answer.ping, displayed(answer.players),
             displayed(answer.mission),
             friends ? displayed(server.friends.join(QStringLiteral(", "))) : QString()});
    }
    std::array<qsizetype, 6> widths{};
    for (const Row& row : rows)
        for (size_t column = 0; column < columns; ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QStringEncoder utf8(QStringEncoder::Utf8);
    QString line;              // its room is kept from line to line,
    std::vector<char> encoded; // and so is this one's
    for (const Row& row : rows) {
        // Every cell holds visible text, so a line ends with its last cell;
        // the cells before it are padded to their column's width and two blanks.
        line.resize(0);
        for (size_t column = 0; column + 1 < columns; ++column) {
            line += row[column];
            line.resize(line.size() + widths[column] + 2 - row[column].size(), u' ');
        }
        line += row[columns - 1];
        line += u'\n';
        encoded.resize(size_t(utf8.requiredSpace(line.size())));
        const char* end = utf8.appendToBuffer(encoded.data(), line);
        std::fwrite(encoded.data(), 1, size_t(end - encoded.data()), out);
    }
}

} // namespace

void writeQueryReport(const std::vector<QueriedServer>& servers, bool json, std::FILE* out,
                      bool friends) {
    if (json) {
        writeQueryJson(servers, friends, out);
        return;
    }
    writeQueryTable(servers, friends, out);
}
