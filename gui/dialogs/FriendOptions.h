#pragma once

#include <QGroupBox>

class QSpinBox;
struct FriendSettings;

// The options dialog's "Friends" group: how often the launcher looks for the
// friends in the background (0: never), and the way to the friends editor.
class FriendOptions : public QGroupBox {
    Q_OBJECT
public:
    explicit FriendOptions(QWidget* parent);

    void showSettings(const FriendSettings& friends);
    // Takes the controls into friends; below the least interval counts as it.
    void storeSettings(FriendSettings& friends) const;

    QSpinBox* CheckSeconds;
};
