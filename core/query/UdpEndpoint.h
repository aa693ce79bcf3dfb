#pragma once

#include "base/LauncherError.h"
#include "query/DatagramQueue.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

class HostLookups;
class QIODevice;
class QUdpSocket;

// Errors of the endpoint itself: a name that cannot be resolved, the null
// address, a socket that cannot be created.
class UDPSockError : public LauncherError {
public:
    using LauncherError::LauncherError;
};

// One IPv4 UDP socket bound to a fixed local port. SendDatagram sends one
// datagram to RemoteHost:RemotePort, resolving the host afresh at every send;
// every datagram that arrives is reported through OnDataReceived and can be
// copied out with CopyDatagram while that event runs. Datagrams are taken
// from the socket as they come, queued, and reported in order, each with the
// time it arrived (arrivalTick), so a reply that waited behind others is
// still timed by its arrival. One turn of the event loop reports at most
// ReportsPerTurn of them; the rest follow in later turns, so a flood cannot
// starve timers, input and painting.
//
// Events are optional callbacks; an empty one is skipped. Everything runs on
// the thread that owns the endpoint, as Qt events of its event loop.
//
// Host names are looked up asynchronously while SendDatagram runs a nested
// event loop, so windows stay responsive and datagram events (of this and
// other endpoints) keep arriving during the wait. Each send waits for its own
// lookup (told apart by lookup id) and gives up after LookupTimeoutMs, which
// counts as a failed lookup. A sweep that looked its names up already lends
// its lookups (useLookups): a send then takes the sweep's answer for its name
// instead of asking the resolver once more. An error thrown by an OnDataReceived handler
// never crosses Qt's event dispatch: while a send waits, it ends the innermost
// waiting send and is rethrown to that send's caller; otherwise it is logged
// and handed to OnHandlerError.
class UdpEndpoint : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString RemoteHost READ RemoteHost WRITE setRemoteHost)
    Q_PROPERTY(qint32 RemotePort READ RemotePort WRITE setRemotePort)
    Q_PROPERTY(qint32 LocalPort READ LocalPort WRITE setLocalPort)
    Q_PROPERTY(qint32 ReportLevel READ ReportLevel WRITE setReportLevel)

public:
    static constexpr qint32 ReceiveBufferSize = DatagramInfo::MaxSize;
    static constexpr int LookupTimeoutMs = 10000;
    static constexpr int ReportsPerTurn = 32;

    using TOnReceive = std::function<void(UdpEndpoint* Sender, qint32 NumberBytes,
                                          const QString& FromIP, qint32 Port)>;
    using TNotifyEvent = std::function<void(UdpEndpoint* Sender)>;
    using TOnStatus = std::function<void(UdpEndpoint* Sender, const QString& status)>;
    using THandlerEvent = std::function<void(bool& handled)>;
    using TBuffInvalid = std::function<void(bool& handled, QByteArray& Buff, qint32& length)>;
    using TOnHandlerError = std::function<void(UdpEndpoint* Sender, const QString& message)>;

    // Once per datagram received. NumberBytes is its size (0 for an empty
    // datagram) or -1 when the receive failed or the datagram was longer than
    // ReceiveBufferSize; then FromIP and Port mean nothing.
    TOnReceive OnDataReceived;
    // After every datagram handed to the platform, accepted or not.
    TNotifyEvent OnDataSend;
    // Status reports whose level is at most ReportLevel.
    TOnStatus OnStatus;
    // The first failed lookup of a send; setting handled buys one more lookup.
    THandlerEvent OnInvalidHost;
    // A send of 0 bytes; the handler may rewrite Buff (the send's own copy)
    // and set length, and must set handled for the send to go on.
    TBuffInvalid OnBufferInvalid;
    // An error thrown by an OnDataReceived handler that no send was waiting
    // for; message is the error's text. The error is logged in any case.
    TOnHandlerError OnHandlerError;

    explicit UdpEndpoint(QObject* parent = nullptr);
    ~UdpEndpoint() override;

    QString RemoteHost() const { return remoteHost_; }
    void setRemoteHost(const QString& host) { remoteHost_ = host; }
    qint32 RemotePort() const { return remotePort_; }
    void setRemotePort(qint32 port) { remotePort_ = port; }
    qint32 ReportLevel() const { return reportLevel_; }
    void setReportLevel(qint32 level) { reportLevel_ = level; }
    qint32 LocalPort() const { return localPort_; }
    // Replaces the socket by a new one bound to 0.0.0.0 and the low 16 bits
    // of port. A bind that fails (port taken) is not reported: the first send
    // then goes out from a port the platform chooses.
    void setLocalPort(qint32 port);

    // Sends the first length bytes of Buff (the caller's whole array) as one
    // datagram. Throws LauncherError "Invalid buffer" for a length of 0 that
    // OnBufferInvalid does not repair, and for a length outside Buff;
    // UDPSockError "Host Lookup Canceled" or "Null Remote Address" when the
    // destination is unknown; and whatever an event handler throws meanwhile.
    void SendDatagram(QByteArrayView Buff, qint32 length);

    // Writes the bytes of the datagram reported last at the stream's current
    // position, then moves the stream to position 0 without truncating it.
    void CopyDatagram(QIODevice& Stream) const;

    // The tick (TickSource's scale) at which the datagram reported last
    // arrived: the platform's receive time where it tells one, else the time
    // it was read; never later than its report.
    quint32 arrivalTick() const { return current_.arrivalTick; }
    // The IPv4 address the datagram reported last came from, as a number (the
    // FromIP of its report); 0 when it came from no IPv4 address.
    quint32 senderAddress() const { return current_.fromAddress; }

    // The text of the last status report delivered.
    QString LastStatus() const { return lastStatus_; }

    // Lookups whose answers the first resolution of each send takes (nullptr:
    // none); they must outlive their use.
    void useLookups(const HostLookups* lookups) { lookups_ = lookups; }

private:
    struct LookupWait;

    void createSocket();
    void bindSocket(quint16 port);
    void prepareReceiving();
    void report(qint32 level, const QString& text);
    [[noreturn]] void raiseSocketLayerError(int errorNumber);
    quint32 resolve(QString name);
    std::optional<quint32> lookUp(const QString& name);
    void lookupFinished(int id, std::optional<quint32> address);
    void receiveDatagrams(bool notified);
    void postMoreReports();
    void handOverHandlerError(std::exception_ptr error);

    QString remoteHost_;
    qint32 remotePort_ = 0;
    qint32 localPort_ = 0;
    qint32 reportLevel_ = 1;
    QString lastStatus_;

    QUdpSocket* socket_ = nullptr;
    DatagramQueue received_;
    DatagramInfo current_; // the datagram being reported, or reported last
    std::array<char, ReceiveBufferSize> currentBytes_{};
    bool moreReportsPosted_ = false;

    const HostLookups* lookups_ = nullptr;
    // Lookups of this endpoint's sends that are still waiting, innermost last.
    std::vector<LookupWait*> waits_;
    // Lookups whose sends stopped waiting before the answer came.
    std::vector<int> abandonedLookups_;
    // The send whose nested event loop runs right now, of whichever endpoint:
    // a handler error raised inside that loop belongs to it.
    static LookupWait* innermostWait_;
};
