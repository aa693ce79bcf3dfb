#include "dialogs/FixedDialog.h"

#include "windows/PlacementAnchor.h"
#include "windows/WindowFit.h"

#include <QShowEvent>
#include <QWindow>

FixedDialog::FixedDialog(QWidget* parent, const QSize& designedSize)
    : QDialog(parent), state_(LauncherState::instance()), fit_(new WindowFit(this, designedSize)) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
}

void FixedDialog::showEvent(QShowEvent* event) {
    const QWidget* anchor = placementAnchor();
    if (!event->spontaneous() && anchor) {
        QRect client({0, 0}, size());
        client.moveCenter(anchor->geometry().center());
        setGeometry(client);
        // Tells the window manager whose dialog this is; without it some
        // hand the focus back and forth while this window's own file dialog
        // is open.
        windowHandle()->setTransientParent(anchor->windowHandle());
    }
    QWidget::showEvent(event);
}
