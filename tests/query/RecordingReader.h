#pragma once

#include "query/StatusTokenizer.h"

#include <QStringList>

// Writes every delivered value as "key=value", in order.
class RecordingReader : public StatusReader {
public:
    QStringList values;

    void onPlayer(QLatin1StringView v) override { values << "player=" + QString(v); }
    void onScore(QLatin1StringView v) override { values << "score=" + QString(v); }
    void onGametype(QLatin1StringView v) override { values << "gametype=" + QString(v); }
    void onNumplayers(QLatin1StringView v) override { values << "numplayers=" + QString(v); }
    void onMaxplayers(qint32 v) override { values << "maxplayers=" + QString::number(v); }
    void onGstate(QLatin1StringView v) override { values << "gstate=" + QString(v); }
    void onFinal() override { values << "final"; }
};
