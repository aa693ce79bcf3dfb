#pragma once

#include "state/LauncherState.h"

#include <QDialog>

class WindowFit;

// A modeless dialog window of fixed size with a dialog border without
// minimise or maximise boxes, centred over the main window whenever it is
// shown. Its controls sit in layouts in the desktop's font; the window is as
// large as they need and at least its designed size. The title bar's close
// box and Escape hide it, storing nothing. The editors and the options dialog
// work on the launcher's state.
class FixedDialog : public QDialog {
    Q_OBJECT
public:
    FixedDialog(QWidget* parent, const QSize& designedSize);

protected:
    void showEvent(QShowEvent* event) override;

    LauncherState& state_;
    WindowFit* fit_;
};
