#pragma once

#include "query/MasterList.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <vector>

class QTcpSocket;

// What to ask the masters for.
struct MasterRequest {
    QStringList masters; // host:port entries, tried in order
    QString game;
    QString key;
    int timeoutMs = 10000;  // for each master's whole exchange
    bool compressed = true; // ask for 6-byte entries instead of \ip\ texts
};

// Fetches the server list from the first master that gives one, over TCP:
// the master's `\secure\` challenge is answered with the validate text of
// the game's key, then the list is asked for and read up to its `\final\`.
// A master that cannot be reached, refuses (`\error\TEXT`), sends something
// else, closes early, sends more than MasterListMaxBytes or does not finish
// within timeoutMs is given up with a reason, and the next one is tried.
// The list holds public unicast addresses only, unless the master that sent
// it is itself on another address (a LAN or test master).
class MasterFetch : public QObject {
    Q_OBJECT
public:
    explicit MasterFetch(QObject* parent = nullptr);
    ~MasterFetch() override;

    // Starts a fetch; one that runs is dropped first. finished() follows,
    // also when there is no master to ask.
    void start(const MasterRequest& request);
    // Runs a fetch to its end in a local event loop.
    void fetch(const MasterRequest& request);
    void abort();
    bool running() const { return socket_ != nullptr; }

    // After finished(): whether a master gave a list, which one, its
    // servers; and "master HOST:PORT: reason" for each master that did not.
    bool succeeded() const { return !master_.isEmpty(); }
    QString master() const { return master_; }
    const std::vector<MasterEntry>& entries() const { return entries_; }
    QStringList errors() const { return errors_; }

Q_SIGNALS:
    void finished();

private:
    void tryNext();
    void readAnswer();
    void takeChallenge();
    void takeList();
    void closed();
    void fail(const QString& reason);
    void dropSocket();

    MasterRequest request_;
    qsizetype next_ = 0;
    QString current_;
    QTcpSocket* socket_ = nullptr;
    QTimer deadline_;
    QByteArray answer_;
    qsizetype received_ = 0;
    qsizetype scanned_ = 0;
    bool listAsked_ = false;
    bool compressed_ = false;
    bool keepPrivate_ = false;
    QString master_;
    std::vector<MasterEntry> entries_;
    QStringList errors_;
};
