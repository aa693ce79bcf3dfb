#pragma once

class QWidget;

// The window the launcher's other windows centre on when they are shown (the
// main window), and the one dialogs declare themselves transient for. None
// until the main window names itself.
QWidget* placementAnchor();
void setPlacementAnchor(QWidget* window);
