#pragma once

#include <QWidget>

// The server watcher window; its controls come with the work that builds it.
class TFormWatcher : public QWidget {
    Q_OBJECT
public:
    explicit TFormWatcher(QWidget* parent = nullptr);
};

extern TFormWatcher* FormWatcher;
