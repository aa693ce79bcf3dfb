#include "browser/FilterBar.h"

#include "browser/BrowserRefresh.h"
#include "browser/ServerGrid.h"
#include "browser/ServerProxy.h"
#include "state/LauncherState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>

namespace {

QString refreshCaption(int seconds) {
    if (seconds == 0)
        return FilterBar::tr("off");
    if (seconds < 60)
        return FilterBar::tr("%1 s").arg(seconds);
    return FilterBar::tr("%n min", nullptr, seconds / 60);
}

} // namespace

FilterBar::FilterBar(ServerGrid* grid, LauncherState& state, std::function<void()> sweep,
                     QWidget* window)
    : QWidget(window), grid_(grid), options_(state.settings.Browser) {
    setObjectName(QStringLiteral("FilterBar"));
    hideEmpty = new QCheckBox(tr("Hide &empty"), this);
    hideFull = new QCheckBox(tr("Hide &full"), this);
    hideSilent = new QCheckBox(tr("Hide &silent"), this);
    maxPing = new QSpinBox(this);
    maxPing->setRange(0, 9999);
    maxPing->setSingleStep(10);
    maxPing->setSuffix(tr(" ms"));
    maxPing->setSpecialValueText(tr("no limit"));
    maxPing->setAccelerated(true);
    auto* maxPingLabel = new QLabel(tr("Max &ping"), this);
    maxPingLabel->setBuddy(maxPing);
    refreshEvery = new QComboBox(this);
    for (int seconds : RefreshChoices)
        refreshEvery->addItem(refreshCaption(seconds), seconds);
    auto* refreshLabel = new QLabel(tr("Refresh e&very"), this);
    refreshLabel->setBuddy(refreshEvery);
    shownCount = new QLabel(this);
    shownCount->setObjectName(QStringLiteral("shownCount"));
    shownCount->hide();
    refresh = new BrowserRefresh(window, std::move(sweep));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* each : {static_cast<QWidget*>(hideEmpty), static_cast<QWidget*>(hideFull),
                          static_cast<QWidget*>(hideSilent)})
        layout->addWidget(each);
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(maxPingLabel);
    layout->addWidget(maxPing);
    layout->addSpacing(layout->spacing() * 2);
    layout->addWidget(refreshLabel);
    layout->addWidget(refreshEvery);
    layout->addStretch(1);
    layout->addWidget(shownCount);

    showOptions();
    for (QCheckBox* box : {hideEmpty, hideFull, hideSilent})
        connect(box, &QCheckBox::toggled, this, &FilterBar::takeOptions);
    connect(maxPing, &QSpinBox::valueChanged, this, &FilterBar::takeOptions);
    connect(refreshEvery, &QComboBox::currentIndexChanged, this, &FilterBar::takeOptions);
    connect(&state, &LauncherState::reloaded, this, &FilterBar::showOptions);

    ServerProxy* proxy = grid->proxy();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(proxy, signal, this, &FilterBar::countShown);
    connect(proxy, &QAbstractItemModel::layoutChanged, this, &FilterBar::countShown);
    connect(proxy, &QAbstractItemModel::modelReset, this, &FilterBar::countShown);
}

QWidget* FilterBar::lastControl() const {
    return refreshEvery;
}

// The controls and the grid as the options say, e.g. after a load.
void FilterBar::showOptions() {
    const ServerFilter& filter = options_.filter;
    {
        const QSignalBlocker quiet[] = {QSignalBlocker(hideEmpty), QSignalBlocker(hideFull),
                                        QSignalBlocker(hideSilent), QSignalBlocker(maxPing),
                                        QSignalBlocker(refreshEvery)};
        hideEmpty->setChecked(filter.hideEmpty);
        hideFull->setChecked(filter.hideFull);
        hideSilent->setChecked(filter.hideSilent);
        maxPing->setValue(filter.maxPing);
        refreshEvery->setCurrentIndex(std::max(0, refreshEvery->findData(options_.refreshSeconds)));
    }
    takeOptions();
}

void FilterBar::takeOptions() {
    ServerFilter& filter = options_.filter;
    filter.hideEmpty = hideEmpty->isChecked();
    filter.hideFull = hideFull->isChecked();
    filter.hideSilent = hideSilent->isChecked();
    filter.maxPing = maxPing->value();
    options_.refreshSeconds = refreshEvery->currentData().toInt();
    grid_->proxy()->setFilter(filter);
    refresh->setSeconds(options_.refreshSeconds);
    countShown();
}

void FilterBar::countShown() {
    const int all = grid_->cells()->rowCount();
    const int shown = grid_->proxy()->rowCount();
    shownCount->setVisible(shown < all);
    if (shown < all)
        shownCount->setText(tr("%1 of %2 servers shown").arg(shown).arg(all));
}
