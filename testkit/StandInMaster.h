#pragma once

#include "query/MasterList.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpServer>
#include <vector>

// A master server on 127.0.0.1 for tests and benchmarks: greets every
// connection with `greeting`, and once a request ending in the list
// request's `\final\` has come, sends `answer` and closes when `closeAfter`
// says so. What the last client sent is kept in `request`, and the clients
// are counted in `connections`.
class StandInMaster : public QTcpServer {
public:
    StandInMaster();

    quint16 port() const { return serverPort(); }
    QString address() const;

    // A greeting with the given challenge.
    static QByteArray greetingWith(const QByteArray& challenge);
    // The list as a compressed or a plain answer, ended by `\final\`.
    static QByteArray listAnswer(const std::vector<MasterEntry>& entries, bool compressed);

    QByteArray greeting = greetingWith("ABCDEF");
    QByteArray answer = "\\final\\";
    bool closeAfter = true;
    QByteArray request;
    int connections = 0;
    QElapsedTimer answerSent; // restarted when an answer was sent
};
