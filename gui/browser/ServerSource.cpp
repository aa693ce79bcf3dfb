#include "browser/ServerSource.h"

#include "browser/GridCell.h"
#include "browser/ServerGrid.h"
#include "browser/Unit4.h"
#include "launch/CommandLine.h"
#include "query/ReplyAccounting.h"
#include "state/LauncherState.h"
#include "windows/GuardedHandler.h"
#include "windows/Prompts.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QStandardPaths>

ServerSource::ServerSource(TForm4* browser, std::function<void()> sweep)
    : QGroupBox(tr("Servers"), browser), browser_(browser), state_(LauncherState::instance()),
      sweep_(std::move(sweep)) {
    setObjectName(QStringLiteral("ServerSource"));
    choice = new QComboBox(this);
    choice->setObjectName(QStringLiteral("SourceChoice"));
    choice->addItems({tr("My servers"), tr("Internet")});
    choice->setToolTip(tr("Your saved servers, or the servers a master server lists "
                          "(Options, Internet servers)"));
    info = new QLabel(this);
    info->setObjectName(QStringLiteral("SourceInfo"));
    info->setVisible(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(choice);
    layout->addWidget(info, 1);

    clock_.start();
    const QString cacheDir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    cachePath_ = QDir(cacheDir).filePath(QStringLiteral("internet-servers.txt"));
    internet_.load(cachePath_);
    connect(choice, &QComboBox::currentIndexChanged, this,
            guardedHandler(this, &ServerSource::chosen));
    connect(&fetch_, &MasterFetch::finished, this, guardedHandler(this, &ServerSource::fetched));
}

bool ServerSource::showsInternet() const {
    return choice->currentIndex() == 1;
}

const ServerTable& ServerSource::servers() const {
    return showsInternet() ? internet_.servers() : state_.servers;
}

// The other list's results mean nothing for this one's slots.
void ServerSource::chosen() {
    state_.queries = QueryTable();
    browser_->SGrid->setRowCount(0);
    info->setVisible(showsInternet());
    if (!showsInternet() || internet_.servers().Last >= 0)
        showInfo();
    else if (startFetch())
        return; // the sweep follows the list
    sweep_();
}

bool ServerSource::refresh() {
    return showsInternet() && startFetch();
}

bool ServerSource::startFetch() {
    if (fetch_.running())
        return true;
    const MasterSettings& settings = state_.masters;
    if (settings.masterList().isEmpty() || settings.game.isEmpty()) {
        showInfo(tr("No master server set: enter one in Options, Internet servers."));
        return false;
    }
    if (!internet_.mayFetch(clock_.elapsed()))
        return false;
    internet_.noteFetchStarted(clock_.elapsed());
    fetch_.start({settings.masterList(), settings.game, settings.key});
    info->setText(tr("Fetching the list..."));
    return true;
}

void ServerSource::fetched() {
    if (!fetch_.succeeded()) {
        showInfo(fetch_.errors().value(fetch_.errors().size() - 1));
        if (showsInternet())
            sweep_();
        return;
    }
    internet_.take(fetch_.entries(), fetch_.master());
    QDir().mkpath(QFileInfo(cachePath_).absolutePath());
    internet_.save(cachePath_);
    showInfo();
    if (showsInternet()) {
        state_.queries = QueryTable();
        sweep_();
    }
    Q_EMIT internetListChanged();
}

void ServerSource::showInfo(const QString& problem) {
    QString text;
    const int shown = internet_.servers().Last + 1;
    if (!internet_.master().isEmpty()) {
        text = tr("%1 servers from %2").arg(shown).arg(internet_.master());
        if (internet_.listedCount() > shown)
            text += tr(" (of %1 listed)").arg(internet_.listedCount());
        if (internet_.old())
            text += tr(", old list of %1")
                        .arg(QLocale().toString(internet_.fetchedAt().toLocalTime(),
                                                QLocale::ShortFormat));
    }
    if (!problem.isEmpty())
        text = text.isEmpty() ? problem : problem + u'\n' + text;
    info->setText(text);
}

void ServerSource::replyArrived(QByteArrayView datagram, const QString& fromIp, qint32 port) {
    if (!showsInternet())
        return;
    for (const int slot : internet_.readReply(datagram, fromIp, port, state_.queries)) {
        GridCell::writeQuietly(browser_->SGrid->cells(), slot, NameColumn,
                               internet_.servers().Name[slot]);
        GridCell::writeQuietly(browser_->SGrid->cells(), slot, HostColumn, address(slot));
    }
}

QString ServerSource::address(int slot) const {
    return internet_.servers().Host[slot] + u':' + internet_.joinPort(slot);
}

void ServerSource::join(int slot, const QString& playerName) {
    const ServerTable& servers = internet_.servers();
    QString pass;
    if (internet_.needsPassword(slot)) {
        const QString shownName = servers.Name[slot].isEmpty() ? address(slot) : servers.Name[slot];
        const std::optional<QString> answer = Prompts::instance().password(browser_, shownName);
        if (!answer)
            return;
        pass = *answer;
    }
    if (browser_->OnJoin)
        browser_->OnJoin(
            joinArgument(servers.Host[slot], internet_.joinPort(slot), pass, true, playerName),
            NoMods);
}

void ServerSource::addToMyServers(int slot) {
    const ServerTable& servers = internet_.servers();
    const QString name = servers.Name[slot].isEmpty() ? servers.Host[slot] : servers.Name[slot];
    if (state_.saveServer(-1, {name, servers.Host[slot], internet_.joinPort(slot), {}, true, {}}) <
        0)
        Prompts::instance().information(
            browser_, tr("The server list is full. Delete a server before adding another."));
}
