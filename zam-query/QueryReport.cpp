#include "zam-query/QueryReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <array>

namespace {

using Row = std::array<QString, 5>;

QString displayed(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("-") : trimmed;
}

QString address(const ServerTable& servers, int slot) {
    return servers.Host[slot] + u':' + servers.Port[slot];
}

} // namespace

QByteArray formatQueryTable(const ServerTable& servers, const std::vector<ServerAnswer>& answers) {
    std::vector<Row> rows{{"NAME", "ADDRESS", "PING", "PLAYERS", "MISSION"}};
    for (int slot = 0; slot <= servers.Last; ++slot) {
        const ServerAnswer& answer = answers[size_t(slot)];
        rows.push_back({displayed(servers.Name[slot]), address(servers, slot), answer.ping,
                        displayed(answer.players), displayed(answer.mission)});
    }
    std::array<qsizetype, 5> widths{};
    for (const Row& row : rows)
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QString text;
    for (const Row& row : rows) {
        QString line;
        for (size_t column = 0; column < row.size(); ++column)
            line += row[column].leftJustified(widths[column] + 2);
        text += line.trimmed() + u'\n';
    }
    return text.toUtf8();
}

QByteArray formatQueryJson(const ServerTable& servers, const QueryTable& queries,
                           const std::vector<ServerAnswer>& answers) {
    QJsonArray list;
    for (int slot = 0; slot <= servers.Last; ++slot) {
        const ServerAnswer& answer = answers[size_t(slot)];
        QJsonArray players;
        for (int index = 0; answer.answered && index < queries.PlayerCount[slot]; ++index)
            players.append(QJsonObject{{"name", queries.playerName(slot, index)},
                                       {"score", queries.playerScore(slot, index)}});
        list.append(QJsonObject{
            {"name", servers.Name[slot]},
            {"host", servers.Host[slot]},
            {"port", servers.Port[slot]},
            {"sockets", servers.Sockets[slot]},
            {"answered", answer.answered},
            {"ping", answer.answered ? QJsonValue(answer.ping.toLongLong()) : QJsonValue()},
            {"players", answer.players.trimmed()},
            {"mission", answer.mission.trimmed()},
            {"playerList", players},
        });
    }
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}
