#include "query/UdpEndpoint.h"

#include "base/VisibleText.h"
#include "query/HostLookup.h"
#include "query/HostLookups.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QScopeGuard>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>
#include <cerrno>

// The state of one send waiting for its host lookup. It lives on the stack of
// lookUp; the endpoint lists it so that completions find it by id.
struct UdpEndpoint::LookupWait {
    int id = -1;
    bool finished = false;
    bool timedOut = false;
    std::optional<quint32> address;
    std::exception_ptr handlerError;
    LookupWait* outer = nullptr;
};

UdpEndpoint::LookupWait* UdpEndpoint::innermostWait_ = nullptr;

UdpEndpoint::UdpEndpoint(QObject* parent) : QObject(parent) {
    report(8, QStringLiteral("Initializing Winsock"));
    createSocket();
}

UdpEndpoint::~UdpEndpoint() {
    // A lookup still running would otherwise delay the exit.
    for (const int id : abandonedLookups_)
        HostNameService::instance().abort(id);
}

// The old socket may be the one whose datagram handler is running right now,
// so it is closed at once but deleted only when control is back in the loop.
void UdpEndpoint::createSocket() {
    if (socket_) {
        socket_->disconnect(this);
        socket_->close();
        socket_->deleteLater();
    }
    socket_ = new QUdpSocket(this);
    // channelReadyRead, unlike readyRead, is also emitted while a handler of
    // this socket runs a nested event loop (a send waiting for its lookup);
    // with readyRead such a datagram would never be read.
    connect(socket_, &QUdpSocket::channelReadyRead, this, [this] { receiveDatagrams(true); });
}

// Binds 0.0.0.0 in the default (exclusive) mode. Only a socket that cannot be
// created is an error; any other bind failure leaves the socket unbound.
void UdpEndpoint::bindSocket(quint16 port) {
    if (socket_->bind(QHostAddress::AnyIPv4, port, QAbstractSocket::DefaultForPlatform)) {
        prepareReceiving();
        return;
    }
    const int errorNumber = errno;
    const QAbstractSocket::SocketError error = socket_->error();
    if (error == QAbstractSocket::SocketResourceError ||
        error == QAbstractSocket::UnsupportedSocketOperationError)
        raiseSocketLayerError(errorNumber);
}

// The replies to a sweep over every saved server arrive in one burst; the
// platform's default buffer holds only about a hundred of them, and the rest
// would be dropped before the event loop reads them. The platform caps the size.
void UdpEndpoint::prepareReceiving() {
    socket_->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 << 20));
    DatagramQueue::stampArrivals(*socket_);
}

void UdpEndpoint::setLocalPort(qint32 port) {
    createSocket();
    bindSocket(quint16(port));
    localPort_ = port;
}

void UdpEndpoint::report(qint32 level, const QString& text) {
    if (level > reportLevel_)
        return;
    lastStatus_ = text;
    if (OnStatus)
        OnStatus(this, text);
}

void UdpEndpoint::raiseSocketLayerError(int errorNumber) {
    report(16, QStringLiteral("Checking Error In Error Manager"));
    const QString text =
        errorNumber == 0
            ? QString()
            : QCoreApplication::translate("UdpEndpoint", "Unknown Error No. %1").arg(errorNumber);
    report(8, QStringLiteral("Looking Up Error Message") + text);
    throw UDPSockError(text);
}

void UdpEndpoint::SendDatagram(QByteArrayView Buff, qint32 length) {
    QByteArray ownCopy;
    bool askedHandler = false;
    while (length == 0) {
        if (askedHandler || !OnBufferInvalid)
            throw LauncherError(QCoreApplication::translate("UdpEndpoint", "Invalid buffer"));
        askedHandler = true;
        ownCopy = Buff.toByteArray();
        bool handled = false;
        OnBufferInvalid(handled, ownCopy, length);
        if (!handled)
            throw LauncherError(QCoreApplication::translate("UdpEndpoint", "Invalid buffer"));
        Buff = ownCopy;
    }
    // Never read past the caller's array, whatever length says.
    if (length < 0 || length > Buff.size())
        throw LauncherError(QCoreApplication::translate("UdpEndpoint", "Invalid buffer"));
    // Taken now: code run while the send waits for its lookup may change or
    // free the caller's array.
    const QByteArray payload = Buff.first(length).toByteArray();

    const quint32 address = resolve(remoteHost_);
    if (address == 0)
        throw UDPSockError(QCoreApplication::translate("UdpEndpoint", "Null Remote Address"));
    report(2, QStringLiteral("Sending Data"));

    // An unbound socket (no LocalPort yet, or its port was taken) gets a port
    // of the platform's choice, so the reply still reaches this endpoint.
    if (socket_->state() != QAbstractSocket::BoundState && socket_->bind(QHostAddress::AnyIPv4, 0))
        prepareReceiving();
    socket_->writeDatagram(payload, QHostAddress(address), quint16(remotePort_));
    if (OnDataSend)
        OnDataSend(this);
}

// The name is a copy: it serves the whole send even when RemoteHost changes
// while the send waits. Dotted text never waits; an empty name is the null
// address; any other name is looked up, once more only when OnInvalidHost
// sets handled.
quint32 UdpEndpoint::resolve(QString name) {
    if (name.isEmpty())
        return 0;
    if (const std::optional<quint32> dotted = parseDottedAddress(name))
        return *dotted;
    for (bool retried = false;; retried = true) {
        const std::optional<LookupAnswer> lent =
            lookups_ && !retried ? lookups_->answer(name) : std::nullopt;
        if (const std::optional<quint32> address = lent ? *lent : lookUp(name))
            return *address;
        bool handled = false;
        if (!retried && OnInvalidHost)
            OnInvalidHost(handled);
        if (!handled)
            throw UDPSockError(QCoreApplication::translate("UdpEndpoint", "Host Lookup Canceled"));
    }
}

// Starts a lookup and runs the event loop until it completes, gives up, or a
// handler error ends the wait (rethrown here).
std::optional<quint32> UdpEndpoint::lookUp(const QString& name) {
    LookupWait wait;
    wait.id = HostNameService::instance().lookUp(
        name, this, [this](int id, LookupAnswer answer) { lookupFinished(id, answer); });
    wait.outer = innermostWait_;
    innermostWait_ = &wait;
    waits_.push_back(&wait);
    const auto unregister = qScopeGuard([this, &wait] {
        if (!wait.finished)
            abandonedLookups_.push_back(wait.id); // its late answer will be ignored
        std::erase(waits_, &wait);
        innermostWait_ = wait.outer;
    });

    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, this, [&wait] { wait.timedOut = true; });
    giveUp.start(LookupTimeoutMs);

    while (!wait.finished && !wait.timedOut && !wait.handlerError)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    if (wait.handlerError)
        std::rethrow_exception(wait.handlerError);
    return wait.address;
}

// Completions are matched by lookup id; one whose send stopped waiting
// (timed out, or ended by a handler error) is dropped.
void UdpEndpoint::lookupFinished(int id, std::optional<quint32> address) {
    std::erase(abandonedLookups_, id);
    for (LookupWait* wait : waits_) {
        if (wait->id == id) {
            wait->finished = true;
            wait->address = address;
            return;
        }
    }
}

// Reports queued datagrams, oldest first, reading what has come meanwhile
// before each. A handler that runs a nested event loop may meet a
// notification of this socket meanwhile: that one reports from the same
// queue, so the order holds.
void UdpEndpoint::receiveDatagrams(bool notified) {
    received_.fill(*socket_, notified);
    for (int reported = 0; !received_.empty(); ++reported) {
        if (reported == ReportsPerTurn) {
            postMoreReports();
            return;
        }
        received_.takeOldest(current_, currentBytes_.data());
        if (OnDataReceived) {
            try {
                OnDataReceived(this, current_.count, dottedText(current_.fromAddress),
                               current_.fromPort);
            } catch (...) {
                handOverHandlerError(std::current_exception());
            }
        }
        received_.refillIfDue(*socket_);
    }
}

// The rest of the queue is reported in a later turn of the event loop: on the
// socket's next notification while datagrams wait there, else on an event
// posted for it.
void UdpEndpoint::postMoreReports() {
    if (moreReportsPosted_ || socket_->hasPendingDatagrams())
        return;
    moreReportsPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            moreReportsPosted_ = false;
            receiveDatagrams(false);
        },
        Qt::QueuedConnection);
}

void UdpEndpoint::handOverHandlerError(std::exception_ptr error) {
    if (innermostWait_ && !innermostWait_->handlerError) {
        innermostWait_->handlerError = error;
        return;
    }
    const QString message = errorMessage(error);
    qWarning().noquote() << "Error in datagram handler:" << withVisibleControls(message);
    if (!OnHandlerError)
        return;
    try {
        OnHandlerError(this, message);
    } catch (...) {
        qWarning().noquote() << "Error in handler error report:"
                             << withVisibleControls(errorMessage(std::current_exception()));
    }
}

void UdpEndpoint::CopyDatagram(QIODevice& Stream) const {
    if (current_.count > 0)
        Stream.write(currentBytes_.data(), current_.count);
    Stream.seek(0);
}
