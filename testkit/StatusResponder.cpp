#include "testkit/StatusResponder.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

struct StatusResponder::Listener {
    quint16 port = 0;
    QUdpSocket socket;
    ResponderScript script;
    int requestCount = 0;
    QByteArray lastRequest;
};

StatusResponder::StatusResponder(QObject* parent) : QObject(parent) {}

StatusResponder::~StatusResponder() = default;

quint16 StatusResponder::listen(quint16 port, const ResponderScript& script,
                                const QHostAddress& address) {
    auto listener = std::make_unique<Listener>();
    if (!listener->socket.bind(address, port))
        return 0;
    listener->port = listener->socket.localPort();
    listener->script = script;
    Listener& l = *listener;
    connect(&l.socket, &QUdpSocket::readyRead, this, [this, &l] { answer(l); });
    listeners_[l.port] = std::move(listener);
    return l.port;
}

void StatusResponder::setScript(quint16 port, const ResponderScript& script) {
    listeners_.at(port)->script = script;
}

int StatusResponder::requestCount(quint16 port) const {
    return listeners_.at(port)->requestCount;
}

QByteArray StatusResponder::lastRequest(quint16 port) const {
    return listeners_.at(port)->lastRequest;
}

void StatusResponder::answer(Listener& listener) {
    while (listener.socket.hasPendingDatagrams()) {
        const QNetworkDatagram request = listener.socket.receiveDatagram();
        ++listener.requestCount;
        listener.lastRequest = request.data();

        const QList<QByteArray> reply = listener.script.datagrams;
        QUdpSocket* socket = &listener.socket;
        const QHostAddress to = request.senderAddress();
        const quint16 toPort = quint16(request.senderPort());
        auto send = [socket, reply, to, toPort] {
            for (const QByteArray& datagram : reply)
                socket->writeDatagram(datagram, to, toPort);
        };
        if (listener.script.delayMs > 0)
            QTimer::singleShot(listener.script.delayMs, socket, send);
        else
            send();
        Q_EMIT requestReceived(listener.port);
    }
}

QList<QByteArray> StatusResponder::split(const QByteArray& reply, int maxBytes) {
    if (maxBytes <= 0)
        return {reply};
    QList<QByteArray> parts;
    for (qsizetype from = 0; from < reply.size(); from += maxBytes)
        parts.append(reply.mid(from, maxBytes));
    return parts;
}
