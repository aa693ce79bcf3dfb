#include "settings/Registry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreLocation.h"
#include "settings/TaggedState.h"
#include "support/ErrorOf.h"
#include "support/FileSizeLimit.h"
#include "support/StoreText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

// Saves of the whole state (SLOT_COUNT mods and servers) that are killed,
// run out of disk or meet a folder they cannot write: the store file always
// holds one save whole, and a failed save says so.
class TestStoreCrashSafety : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void killedSavesLeaveOneWholeSave();
    void failedSavesKeepThePreviousFile_data();
    void failedSavesKeepThePreviousFile();

private:
    QString folder() const { return dir_->filePath("cfg"); }
    QString storePath() const { return dir_->filePath("cfg/registry.reg"); }
    void saveTagged(const QString& tag);

    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

LauncherSettings settings;
ModTable mods;
ServerTable servers;

QString executable() {
    return QCoreApplication::applicationFilePath();
}

// The child's work: save the state under a new tag, over and over, until killed.
int saveForever(const QString& storePath) {
    StoreLocation::setPath(storePath);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QTextStream(stdout) << "saving" << Qt::endl;
    for (quint64 n = 0;; ++n) {
        TaggedState::fill(settings, mods, servers, executable(), pid + u'-' + QString::number(n));
        saveRegistry(settings, mods, servers);
    }
}

// Files the store left beside itself (temporary files of unfinished saves).
QStringList strayFiles(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.removeOne(QStringLiteral("registry.reg"));
    return names;
}

// A finished temporary file that a save killed just before it replaced the
// store leaves behind; the next save removes it once it is old.
bool isSaveLeftover(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^registry\\.reg\\.[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

void backdate(const QString& path, int seconds) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-seconds),
                             QFileDevice::FileModificationTime));
}

// Makes the store's folder unwritable for the life of the object while the
// store file stays readable and writable. Root writes into any folder, so
// for root this thread's file access runs as an unprivileged user who owns
// the file but not the folder.
class UnwritableFolder {
public:
    UnwritableFolder(const QString& top, const QString& folder, const QString& file)
        : folder_(folder), file_(file) {
        if (geteuid() != 0) {
            chmod(qPrintable(folder_), 0500);
            return;
        }
        chmod(qPrintable(top), 0711);
        chmod(qPrintable(folder_), 0755);
        if (chown(qPrintable(file_), nobody, nobody) == 0)
            setfsuid(nobody);
    }
    ~UnwritableFolder() {
        if (geteuid() != 0) {
            chmod(qPrintable(folder_), 0700);
            return;
        }
        setfsuid(0);
        if (chown(qPrintable(file_), 0, 0) != 0)
            qWarning("could not give the store file back to root");
    }
    bool effective() const {
        QFile probe(QDir(folder_).filePath(QStringLiteral("probe")));
        return !probe.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }

private:
    static constexpr uid_t nobody = 65534;
    QString folder_;
    QString file_;
};

} // namespace

void TestStoreCrashSafety::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QDir().mkpath(folder());
    QFile file(storePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(StoreText().key(StoreKeys::Launcher));
    file.close();
    StoreLocation::setPath(storePath());
    saveTagged("first");
    QCOMPARE(TaggedState::loadTag(), "first");
}

void TestStoreCrashSafety::cleanup() {
    StoreLocation::reset();
}

void TestStoreCrashSafety::saveTagged(const QString& tag) {
    TaggedState::fill(settings, mods, servers, executable(), tag);
    saveRegistry(settings, mods, servers);
}

// A child saves in a loop and is killed at a random moment, many times.
// After every kill the file holds the last save that finished, whole, and
// nothing else is left in its folder.
void TestStoreCrashSafety::killedSavesLeaveOneWholeSave() {
    QElapsedTimer saveTime;
    saveTime.start();
    saveTagged("timed");
    const int saveMs = int(std::max<qint64>(saveTime.elapsed(), 1));

    QElapsedTimer running;
    running.start();
    int kills = 0;
    int tagChanges = 0;
    QString tag = TaggedState::loadTag();
    while (kills < 20 || (running.elapsed() < 4000 && kills < 500)) {
        QProcess child;
        child.start(executable(), {QStringLiteral("save-forever"), storePath()});
        QVERIFY(child.waitForReadyRead(30000));
        QTest::qSleep(int(QRandomGenerator::global()->bounded(3 * saveMs)));
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        ++kills;

        QVERIFY(!SettingsStore(storePath()).skippedDamagedLines());
        const QString now = TaggedState::loadTag();
        QVERIFY2(!now.isEmpty(), "the store does not hold one whole save");
        tagChanges += now != tag;
        tag = now;
        for (const QString& name : strayFiles(folder()))
            QVERIFY2(isSaveLeftover(name), qPrintable(name));
    }
    qInfo("%d kills survived, %d of them after a save finished (one save: %d ms)", kills,
          tagChanges, saveMs);

    // The next save removes leftovers older than a minute, not a file that a
    // save running elsewhere may be about to rename.
    QFile(QDir(folder()).filePath(QStringLiteral("registry.reg.Ab12Cd")))
        .open(QIODevice::WriteOnly);
    for (const QString& name : strayFiles(folder()))
        backdate(QDir(folder()).filePath(name), 120);
    QFile(QDir(folder()).filePath(QStringLiteral("registry.reg.Zz99Yy")))
        .open(QIODevice::WriteOnly);
    saveTagged("after the kills");
    QCOMPARE(strayFiles(folder()), QStringList{QStringLiteral("registry.reg.Zz99Yy")});
}

void TestStoreCrashSafety::failedSavesKeepThePreviousFile_data() {
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("full disk") << true;
    QTest::newRow("unwritable folder") << false;
}

void TestStoreCrashSafety::failedSavesKeepThePreviousFile() {
    QFETCH(bool, fullDisk);
    QFile file(storePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QString error;
    if (fullDisk) {
        FileSizeLimit limit(64 * 1024);
        error = errorOf([&] { saveTagged("second"); });
    } else {
        UnwritableFolder locked(dir_->path(), folder(), storePath());
        QVERIFY(locked.effective());
        error = errorOf([&] { saveTagged("second"); });
    }
    QCOMPARE(error, "Failed to set data for 'sound1'"); // the first value the save changes
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(strayFiles(folder()), QStringList());
    QCOMPARE(TaggedState::loadTag(), "first");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("save-forever"))
        return saveForever(app.arguments().value(2));
    TestStoreCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store_crash_safety.moc"
