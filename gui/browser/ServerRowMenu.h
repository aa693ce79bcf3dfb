#pragma once

#include <QObject>

class TForm4;

// The context menu of the browser's server rows: Join, Watch and Copy
// address for the server under the mouse, which it selects first. Join and
// Watch press the window's own buttons.
class ServerRowMenu : public QObject {
    Q_OBJECT
public:
    explicit ServerRowMenu(TForm4* browser);

private:
    void open(const QPoint& position);

    TForm4* browser_;
};
