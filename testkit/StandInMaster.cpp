#include "testkit/StandInMaster.h"

#include <QTcpSocket>

StandInMaster::StandInMaster() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = nextPendingConnection()) {
            request.clear();
            ++connections;
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QTcpSocket::readyRead, client, [this, client] {
                request += client->readAll();
                const qsizetype list = request.indexOf("\\list\\");
                if (list < 0 || request.indexOf("\\final\\", list) < 0)
                    return;
                client->write(answer);
                client->flush();
                answerSent.start();
                if (closeAfter)
                    client->disconnectFromHost();
            });
            client->write(greeting);
        }
    });
}

QString StandInMaster::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QByteArray StandInMaster::greetingWith(const QByteArray& challenge) {
    return "\\basic\\\\secure\\" + challenge;
}

QByteArray StandInMaster::listAnswer(const std::vector<MasterEntry>& entries, bool compressed) {
    QByteArray text;
    for (const MasterEntry& entry : entries) {
        if (compressed) {
            for (int shift = 24; shift >= 0; shift -= 8)
                text += char(entry.address >> shift);
            text += char(entry.queryPort >> 8);
            text += char(entry.queryPort);
        } else {
            text += "\\ip\\" + entry.host().toLatin1() + ':' + QByteArray::number(entry.queryPort);
        }
    }
    return text + "\\final\\";
}
