#pragma once

#include <QDialog>

class LauncherState;
class QLineEdit;
class QListWidget;
class QPushButton;

// The friends editor: lists the friends and adds, renames and deletes them
// (deleting asks "Are you sure?"). Like the other editors it keeps nothing
// of its own: every change is saved at once. Names are compared ignoring
// case and surrounding blanks, so a name can be listed once only.
class FriendsEditor : public QDialog {
    Q_OBJECT
public:
    explicit FriendsEditor(QWidget* parent = nullptr);

    // The application's editor, made on first use as a dialog of owner.
    static FriendsEditor* of(QWidget* owner);

    void addClick();
    void renameClick();
    void deleteClick();

    QListWidget* FriendList;
    QLineEdit* FriendName;
    QPushButton* AddButton;
    QPushButton* RenameButton;
    QPushButton* DeleteButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFriends(int selectSlot);
    void selectionChanged();
    void updateButtons();
    void changed(int selectSlot);
    void tell(const QString& text);

    LauncherState& state_;
};
