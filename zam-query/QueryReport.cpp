#include "zam-query/QueryReport.h"

#include "base/VisibleText.h"
#include "zam-query/JsonReport.h"

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
// names the friends on each server.
QByteArray formatQueryTable(const std::vector<QueriedServer>& servers, bool friends) {
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
    qsizetype textSize = 0;
    for (const Row& row : rows)
        for (size_t column = 0; column < columns; ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const qsizetype width : widths)
        textSize += width + 2;
    // Every cell holds visible text, so a line ends with its last cell; the
    // cells before it are padded to their column's width and two blanks.
    QString text;
    text.reserve(textSize * qsizetype(rows.size()));
    for (const Row& row : rows) {
        for (size_t column = 0; column + 1 < columns; ++column) {
            text += row[column];
            text.resize(text.size() + widths[column] + 2 - row[column].size(), u' ');
        }
        text += row[columns - 1] + u'\n';
    }
    return text.toUtf8();
}

} // namespace

void writeQueryReport(const std::vector<QueriedServer>& servers, bool json, std::FILE* out,
                      bool friends) {
    if (json) {
        writeQueryJson(servers, friends, out);
        return;
    }
    const QByteArray table = formatQueryTable(servers, friends);
    std::fwrite(table.constData(), 1, size_t(table.size()), out);
}
