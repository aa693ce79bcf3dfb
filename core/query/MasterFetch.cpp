#include "query/MasterFetch.h"

#include "query/MasterAnswer.h"

#include <QEventLoop>
#include <QTcpSocket>

namespace {

constexpr QByteArrayView secureMark("\\secure\\");
constexpr QByteArrayView finalMark("\\final\\");
// A greeting is a few dozen bytes; this much without a challenge is none.
constexpr qsizetype greetingLimit = 4096;
// Challenges are six letters; a longer one ends at the next backslash.
constexpr qsizetype challengeLength = 6;

} // namespace

MasterFetch::MasterFetch(QObject* parent) : QObject(parent) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        const bool reached = socket_->state() == QAbstractSocket::ConnectedState;
        const QString what = !reached         ? QStringLiteral("could not be reached")
                             : received_ == 0 ? QStringLiteral("sent nothing")
                             : listAsked_     ? QStringLiteral("did not complete the list")
                                              : QStringLiteral("sent no challenge");
        fail(QStringLiteral("%1 within %2 ms").arg(what).arg(request_.timeoutMs));
    });
}

MasterFetch::~MasterFetch() {
    dropSocket();
}

void MasterFetch::start(const MasterRequest& request) {
    abort();
    request_ = request;
    next_ = 0;
    master_.clear();
    entries_.clear();
    errors_.clear();
    tryNext();
}

void MasterFetch::fetch(const MasterRequest& request) {
    QEventLoop loop;
    connect(this, &MasterFetch::finished, &loop, &QEventLoop::quit);
    start(request);
    if (running())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void MasterFetch::abort() {
    dropSocket();
    deadline_.stop();
}

void MasterFetch::dropSocket() {
    if (!socket_)
        return;
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

void MasterFetch::tryNext() {
    while (next_ < request_.masters.size()) {
        current_ = request_.masters[next_++];
        const qsizetype colon = current_.lastIndexOf(u':');
        bool ok = false;
        const uint port = colon > 0 ? current_.mid(colon + 1).toUInt(&ok) : 0;
        if (!ok || port == 0 || port > 0xFFFF) {
            errors_ << QStringLiteral("master %1: not HOST:PORT").arg(current_);
            continue;
        }
        answer_.clear();
        received_ = scanned_ = 0;
        listAsked_ = false;
        socket_ = new QTcpSocket(this);
        connect(socket_, &QTcpSocket::readyRead, this, &MasterFetch::readAnswer);
        connect(socket_, &QTcpSocket::disconnected, this, &MasterFetch::closed);
        connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
            if (e == QAbstractSocket::RemoteHostClosedError)
                closed();
            else
                fail(socket_->errorString());
        });
        deadline_.start(request_.timeoutMs);
        socket_->connectToHost(current_.left(colon), quint16(port));
        return;
    }
    deadline_.stop();
    Q_EMIT finished();
}

void MasterFetch::fail(const QString& reason) {
    errors_ << QStringLiteral("master %1: %2").arg(current_, reason);
    dropSocket();
    tryNext();
}

void MasterFetch::readAnswer() {
    // One byte past the limit tells a master that sends too much.
    const QByteArray data = socket_->read(MasterListMaxBytes + 1 - received_);
    received_ += data.size();
    answer_ += data;
    if (received_ > MasterListMaxBytes)
        return fail(QStringLiteral("sent more than %1 bytes").arg(MasterListMaxBytes));
    if (listAsked_)
        takeList();
    else
        takeChallenge();
}

// The greeting `\basic\\secure\CHALLENGE`, perhaps with `\final\`, is
// answered by the validate text and the list request at once.
void MasterFetch::takeChallenge() {
    const qsizetype secure = answer_.indexOf(secureMark);
    if (secure < 0) {
        if (answer_.size() > greetingLimit)
            fail(QStringLiteral("sent no challenge"));
        return;
    }
    const qsizetype start = secure + secureMark.size();
    qsizetype end = answer_.indexOf('\\', start);
    if (end < 0) {
        if (answer_.size() - start < challengeLength)
            return;
        end = answer_.size();
    }
    const QByteArray game = request_.game.toLatin1();
    const QByteArray answer = masterChallengeAnswer(
        QByteArrayView(answer_).sliced(start, end - start), request_.key.toLatin1());
    QByteArray rest = answer_.mid(end);
    if (rest.startsWith(finalMark))
        rest.remove(0, finalMark.size());
    socket_->write("\\gamename\\" + game + "\\gamever\\1.0\\location\\0\\validate\\" + answer +
                   "\\final\\\\queryid\\1.1\\");
    socket_->write((request_.compressed ? "\\list\\cmp\\gamename\\" : "\\list\\\\gamename\\") +
                   game + "\\final\\");
    listAsked_ = true;
    keepPrivate_ = !isPublicUnicast(socket_->peerAddress().toIPv4Address());
    compressed_ = request_.compressed;
    answer_ = rest;
    if (!answer_.isEmpty())
        takeList();
}

void MasterFetch::takeList() {
    if (const std::optional<QString> refusal = masterRefusal(answer_)) {
        if (answer_.indexOf('\\', 7) >= 0)
            fail(QStringLiteral("refused the list: %1").arg(*refusal));
        return;
    }
    // A master that knows no compressed lists may answer with texts.
    if (answer_.startsWith("\\ip\\"))
        compressed_ = false;
    if (!compressed_ && !answer_.isEmpty() && !answer_.startsWith('\\'))
        return fail(QStringLiteral("sent something that is not a server list"));
    const std::optional<qsizetype> end = masterListEnd(answer_, compressed_, scanned_);
    scanned_ = answer_.size();
    if (!end)
        return;
    entries_ = readMasterList(QByteArrayView(answer_).first(*end), compressed_, keepPrivate_);
    master_ = current_;
    answer_.clear();
    dropSocket();
    deadline_.stop();
    Q_EMIT finished();
}

void MasterFetch::closed() {
    if (!socket_)
        return;
    if (socket_->bytesAvailable() > 0) {
        readAnswer();
        if (!socket_)
            return;
    }
    if (listAsked_ && masterRefusal(answer_))
        return fail(QStringLiteral("refused the list: %1").arg(*masterRefusal(answer_)));
    fail(listAsked_ ? QStringLiteral("closed the connection before the list was complete")
                    : QStringLiteral("closed the connection without a challenge"));
}
