#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <map>
#include <memory>

class QUdpSocket;

// What one responder port answers to every request it receives.
struct ResponderScript {
    QList<QByteArray> datagrams; // sent in this order; none at all: silent
    int delayMs = 0;             // wait this long before answering
};

// Stands in for game servers: listens on 127.0.0.1 on any number of ports
// and answers every datagram that arrives with its port's scripted reply,
// sent back to the request's sender. Runs on the event loop of the thread
// that owns it, so a test drives it with its own event loop.
class StatusResponder : public QObject {
    Q_OBJECT

public:
    explicit StatusResponder(QObject* parent = nullptr);
    ~StatusResponder() override;

    // Listens on port (0: a free port of the platform's choice) with script,
    // at address. Returns the port listened on, or 0 when it cannot be bound.
    quint16 listen(quint16 port, const ResponderScript& script,
                   const QHostAddress& address = QHostAddress::LocalHost);
    void setScript(quint16 port, const ResponderScript& script);

    int requestCount(quint16 port) const;
    QByteArray lastRequest(quint16 port) const;

    // Cuts a reply into datagrams of at most maxBytes bytes each.
    static QList<QByteArray> split(const QByteArray& reply, int maxBytes);

Q_SIGNALS:
    void requestReceived(quint16 port);

private:
    struct Listener;
    void answer(Listener& listener);

    std::map<quint16, std::unique_ptr<Listener>> listeners_;
};
