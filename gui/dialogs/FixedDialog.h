#pragma once

#include "state/LauncherState.h"

#include <QDialog>

// A modeless dialog window with a fixed client area and a dialog border
// without minimise or maximise boxes, centred over the main window whenever
// it is shown. The title bar's close box and Escape hide it, storing nothing.
// The editors and the options dialog work on the launcher's state.
class FixedDialog : public QDialog {
    Q_OBJECT
public:
    FixedDialog(QWidget* parent, const QSize& clientSize);

protected:
    void showEvent(QShowEvent* event) override;

    LauncherState& state_;
};
