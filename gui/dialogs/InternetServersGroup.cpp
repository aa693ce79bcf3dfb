#include "dialogs/InternetServersGroup.h"

#include "settings/MasterSettings.h"

#include <QFormLayout>
#include <QLineEdit>

namespace {

QLineEdit* field(QWidget* parent, const QString& name, const QString& hint) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

} // namespace

InternetServersGroup::InternetServersGroup(QWidget* parent)
    : QGroupBox(tr("Internet servers"), parent) {
    setObjectName(QStringLiteral("InternetServersGroup"));
    masters = field(this, QStringLiteral("masters"),
                    tr("Master servers as HOST:PORT, separated by blanks or \";\", tried in "
                       "order (for example master.example:28900). Empty: no internet list."));
    game = field(this, QStringLiteral("mastergame"),
                 tr("The game name the master servers list the game's servers under"));
    key = field(this, QStringLiteral("masterkey"),
                tr("The game's secret key, for the answer to a master's challenge"));
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Master servers:"), masters);
    layout->addRow(tr("Game name:"), game);
    layout->addRow(tr("Key:"), key);
}

void InternetServersGroup::showSettings(const MasterSettings& settings) {
    masters->setText(settings.masters);
    game->setText(settings.game);
    key->setText(settings.key);
}

void InternetServersGroup::storeSettings(MasterSettings& settings) const {
    settings.masters = masters->text();
    settings.game = game->text();
    settings.key = key->text();
}
