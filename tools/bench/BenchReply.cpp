#include "tools/bench/BenchReply.h"

QByteArray sixteenPlayerReply() {
    QByteArray reply = "\\hostname\\Bench\\mapname\\m1\\gametype\\Coop\\numplayers\\16\\maxplayers"
                       "\\18\\gstate\\14";
    for (int i = 0; i < 16; ++i)
        reply += "\\player_" + QByteArray::number(i) + "\\Player number " + QByteArray::number(i) +
                 "\\score_" + QByteArray::number(i) + "\\" + QByteArray::number(i * 7);
    return reply + "\\final\\\\queryid\\1.1\\";
}
