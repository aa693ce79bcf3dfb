#include "zam-query/QueryReport.h"

#include "base/VisibleText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <array>

namespace {

using Row = std::array<QString, 5>;

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

} // namespace

QByteArray formatQueryTable(const std::vector<QueriedServer>& servers) {
    std::vector<Row> rows{{"NAME", "ADDRESS", "PING", "PLAYERS", "MISSION"}};
    rows.reserve(servers.size() + 1);
    for (const QueriedServer& server : servers) {
        const ServerAnswer& answer = server.answer;
        rows.push_back({displayed(server.name), address(server), answer.ping,
                        displayed(answer.players), displayed(answer.mission)});
    }
    std::array<qsizetype, 5> widths{};
    qsizetype textSize = 0;
    for (const Row& row : rows)
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const qsizetype width : widths)
        textSize += width + 2;
    // Every cell holds visible text, so a line ends with its last cell; the
    // cells before it are padded to their column's width and two blanks.
    QString text;
    text.reserve(textSize * qsizetype(rows.size()));
    for (const Row& row : rows) {
        for (size_t column = 0; column + 1 < row.size(); ++column) {
            text += row[column];
            text.resize(text.size() + widths[column] + 2 - row[column].size(), u' ');
        }
        text += row.back() + u'\n';
    }
    return text.toUtf8();
}

QByteArray formatQueryJson(const std::vector<QueriedServer>& servers) {
    QJsonArray list;
    for (const QueriedServer& server : servers) {
        const ServerAnswer& answer = server.answer;
        QJsonArray players;
        for (int index = 0; answer.answered && index < server.playerCount; ++index)
            players.append(QJsonObject{{"name", PlayerList::textAt(server.playerNames, index)},
                                       {"score", PlayerList::textAt(server.playerScores, index)}});
        list.append(QJsonObject{
            {"name", server.name},
            {"host", server.host},
            {"port", server.port},
            {"sockets", server.sockets},
            {"answered", answer.answered},
            {"ping", answer.answered ? QJsonValue(answer.ping.toLongLong()) : QJsonValue()},
            {"players", answer.players.trimmed()},
            {"mission", answer.mission.trimmed()},
            {"playerList", players},
        });
    }
    return withEscapedControls(QJsonDocument(list).toJson(QJsonDocument::Indented));
}
