#include "base/LauncherError.h"
#include "query/StatusQuery.h"
#include "query/UdpEndpoint.h"
#include "settings/Registry.h"
#include "settings/StoreLocation.h"
#include "settings/TaggedState.h"
#include "support/StoreText.h"
#include "testkit/StatusResponder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <iostream>
#include <string>

// Two launchers started at once on the same store and the same fixed ports:
// the second one's binds fail without a word and its endpoints still work,
// and whatever either saves, the store holds one whole save of one of them.
class TestTwoLaunchers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shareOneStoreAndThePorts();
};

namespace {

constexpr int rounds = 12;
constexpr quint16 browserPort = 15015;
constexpr quint16 watcherPort = 15020;

LauncherSettings settings;
ModTable mods;
ServerTable servers;

QString executable() {
    return QCoreApplication::applicationFilePath();
}

// Waits for the endpoint's first datagram; false when none comes in time.
bool receivesReply(UdpEndpoint& endpoint, quint16 responderPort) {
    bool replied = false;
    endpoint.OnDataReceived = [&](UdpEndpoint*, qint32 bytes, const QString&, qint32) {
        replied = bytes > 0;
    };
    endpoint.setRemoteHost(QStringLiteral("127.0.0.1"));
    endpoint.setRemotePort(responderPort);
    endpoint.SendDatagram(StatusQuery, StatusQueryLength);
    const QDeadlineTimer deadline(30000);
    while (!replied && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    return replied;
}

// One launcher: opens the browser's and the watcher's ports, says so, waits
// for "go", then loads, changes and saves the whole state again and again
// and finally queries the responder through both endpoints. The exit code
// tells what went wrong.
int runLauncher(const QStringList& arguments) {
    StoreLocation::setPath(arguments.value(0));
    const QString name = arguments.value(1);
    const quint16 responderPort = arguments.value(2).toUShort();

    UdpEndpoint browser;
    browser.setLocalPort(browserPort);
    UdpEndpoint watcher;
    watcher.setLocalPort(watcherPort);
    std::cout << "bound" << std::endl;
    std::string go;
    std::getline(std::cin, go);

    for (int r = 0; r < rounds; ++r) {
        if (TaggedState::loadTag().isEmpty())
            return 2; // read a store that was not one whole save
        TaggedState::fill(settings, mods, servers, executable(), name + u'-' + QString::number(r));
        try {
            saveRegistry(settings, mods, servers);
        } catch (const LauncherError&) {
            return 3;
        }
    }
    return receivesReply(browser, responderPort) && receivesReply(watcher, responderPort) ? 0 : 4;
}

} // namespace

void TestTwoLaunchers::shareOneStoreAndThePorts() {
    QTemporaryDir dir;
    const QString store = dir.filePath("registry.reg");
    QFile file(store);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(StoreText().key(StoreKeys::Launcher));
    file.close();
    StoreLocation::setPath(store);
    TaggedState::fill(settings, mods, servers, executable(), "first");
    saveRegistry(settings, mods, servers);

    StatusResponder responder;
    const quint16 responderPort = responder.listen(0, {{"\\numplayers\\1\\player_0\\Bob\\"}, 0});
    QVERIFY(responderPort != 0);

    QProcess first;
    QProcess second;
    for (QProcess* launcher : {&first, &second}) {
        launcher->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        launcher->start(executable(),
                        {QStringLiteral("launcher"), store, launcher == &first ? "a" : "b",
                         QString::number(responderPort)});
    }
    QTRY_VERIFY_WITH_TIMEOUT(first.canReadLine() && second.canReadLine(), 60000);
    QCOMPARE(first.readLine(), "bound\n");
    QCOMPARE(second.readLine(), "bound\n");
    // Both are running with their endpoints open, so one of them holds the ports.
    QUdpSocket probe;
    QVERIFY(!probe.bind(QHostAddress::AnyIPv4, browserPort));
    QVERIFY(!probe.bind(QHostAddress::AnyIPv4, watcherPort));

    first.write("go\n");
    second.write("go\n");
    QTRY_VERIFY_WITH_TIMEOUT(
        first.state() == QProcess::NotRunning && second.state() == QProcess::NotRunning, 110000);
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(responder.requestCount(responderPort), 4);

    // The last save to finish was the last one of one launcher.
    const QString last = QStringLiteral("-%1").arg(rounds - 1);
    const QString tag = TaggedState::loadTag();
    QVERIFY2(tag == "a" + last || tag == "b" + last, qPrintable(tag));
    StoreLocation::reset();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("launcher"))
        return runLauncher(app.arguments().mid(2));
    TestTwoLaunchers test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_two_launchers.moc"
