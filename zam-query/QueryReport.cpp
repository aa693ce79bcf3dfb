#include "zam-query/QueryReport.h"

#include "base/VisibleText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// JSON escapes only C0 itself; DEL and C1 in strings get \u escapes too, so
// the output stays exact and no control reaches a terminal. Outside strings
// JSON holds no such character.
QByteArray withEscapedControls(const QByteArray& json) {
    if (std::none_of(json.begin(), json.end(), [](char c) { return c == '\x7f' || c == '\xc2'; }))
        return json;
    QByteArray escaped;
    escaped.reserve(json.size());
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto byte = quint8(json[i]);
        const bool c1 = byte == 0xc2 && i + 1 < json.size() && quint8(json[i + 1]) >= 0x80 &&
                        quint8(json[i + 1]) <= 0x9f;
        if (byte == 0x7f || c1) {
            const int code = c1 ? quint8(json[++i]) : byte;
            escaped += "\\u00" + QByteArray::number(code, 16);
        } else {
            escaped += char(byte);
        }
    }
    return escaped;
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

QJsonObject serverObject(const QueriedServer& server, bool friends) {
    const ServerAnswer& answer = server.answer;
    QJsonArray players;
    for (int index = 0; answer.answered && index < server.playerCount; ++index)
        players.append(QJsonObject{{"name", PlayerList::textAt(server.playerNames, index)},
                                   {"score", PlayerList::textAt(server.playerScores, index)}});
    QJsonObject object{
        {"name", server.name},
        {"host", server.host},
        {"port", server.port},
        {"sockets", server.sockets},
        {"answered", answer.answered},
        {"ping", answer.answered ? QJsonValue(answer.ping.toLongLong()) : QJsonValue()},
        {"players", answer.players.trimmed()},
        {"mission", answer.mission.trimmed()},
        {"playerList", players},
    };
    if (friends)
        object.insert("friends", QJsonArray::fromStringList(server.friends));
    return object;
}

// The indented JSON array of the server objects, written one object at a
// time: a report of many servers never holds its whole text.
void writeQueryJson(const std::vector<QueriedServer>& servers, bool friends, std::FILE* out) {
    std::fputs("[\n", out);
    for (size_t i = 0; i < servers.size(); ++i) {
        const QByteArray object = withEscapedControls(
            QJsonDocument(serverObject(servers[i], friends)).toJson(QJsonDocument::Indented));
        // An element of the array: every line indented one level further.
        for (qsizetype start = 0, end; start < object.size(); start = end + 1) {
            end = object.indexOf('\n', start);
            std::fputs("    ", out);
            std::fwrite(object.constData() + start, 1, size_t(end - start), out);
            if (end + 1 < object.size())
                std::fputc('\n', out);
        }
        std::fputs(i + 1 < servers.size() ? ",\n" : "\n", out);
    }
    std::fputs("]\n", out);
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
