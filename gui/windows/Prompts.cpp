#include "windows/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// "Name|*.a;*.b|..." becomes "Name (*.a *.b);;...".
QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << QStringLiteral("%1 (%2)").arg(parts[i],
                                                 QString(parts[i + 1]).replace(u';', u' '));
    return entries.join(QStringLiteral(";;"));
}

class DesktopPrompts final : public Prompts {
public:
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
    }

    bool confirm(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Question, QCoreApplication::translate("Prompts", "Confirm"),
                        text, QMessageBox::NoButton, parent);
        QPushButton* yes =
            box.addButton(QCoreApplication::translate("Prompts", "&Yes"), QMessageBox::YesRole);
        QPushButton* no =
            box.addButton(QCoreApplication::translate("Prompts", "&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }

    void error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
    }

    SaveFailureAnswer saveFailed(QWidget* parent, const QString& message) override {
        QMessageBox box(
            QMessageBox::Critical, QApplication::applicationDisplayName(),
            QCoreApplication::translate("Prompts", "The settings could not be saved:\n%1")
                .arg(message),
            QMessageBox::NoButton, parent);
        QPushButton* retry = box.addButton(QCoreApplication::translate("Prompts", "&Retry"),
                                           QMessageBox::AcceptRole);
        QPushButton* quit =
            box.addButton(QCoreApplication::translate("Prompts", "&Quit without saving"),
                          QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(retry);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == retry)
            return SaveFailureAnswer::Retry;
        return box.clickedButton() == quit ? SaveFailureAnswer::QuitWithoutSaving
                                           : SaveFailureAnswer::KeepOpen;
    }

    std::optional<QString> password(QWidget* parent, const QString& text) override {
        bool ok = false;
        const QString answer = QInputDialog::getText(parent, QApplication::applicationDisplayName(),
                                                     QObject::tr("Password for %1:").arg(text),
                                                     QLineEdit::Password, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return answer;
    }

    std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                    const QString& fileName) override {
        const QString chosen =
            QFileDialog::getOpenFileName(parent, QString(), fileName, qtFilter(filter));
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }
};

std::unique_ptr<Prompts>& installed() {
    static std::unique_ptr<Prompts> prompts = std::make_unique<DesktopPrompts>();
    return prompts;
}

} // namespace

SaveFailureAnswer Prompts::saveFailed(QWidget* parent, const QString& message) {
    error(parent, message);
    return SaveFailureAnswer::KeepOpen;
}

std::optional<QString> Prompts::password(QWidget*, const QString&) {
    return std::nullopt;
}

Prompts& Prompts::instance() {
    return *installed();
}

void Prompts::install(std::unique_ptr<Prompts> prompts) {
    installed() = std::move(prompts);
}

bool OpenDialog::Execute(QWidget* parent) {
    const std::optional<QString> chosen = Prompts::instance().openFile(parent, Filter, FileName);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}
