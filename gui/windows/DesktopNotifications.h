#pragma once

#include <QHash>
#include <QObject>
#include <functional>

// Posts notifications through the notification service of the session bus
// and runs a notification's click action when the service reports that its
// default action was invoked. Without a session bus or a notification
// service nothing is posted and nothing is reported. The calls never wait
// for the service.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    // The click actions of this many notifications are remembered; older
    // ones are forgotten, oldest first.
    static constexpr int RememberedClicks = 64;

    explicit DesktopNotifications(QObject* parent = nullptr);

    void post(const QString& summary, const QString& body, std::function<void()> clicked);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);

private:
    bool listening_ = false;
    QHash<uint, std::function<void()>> clicks_; // by the service's notification id
    QList<uint> order_;                         // the ids in clicks_, oldest first
};
