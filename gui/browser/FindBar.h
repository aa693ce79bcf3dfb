#pragma once

#include <QLineEdit>

class ServerGrid;
struct QueryTable;

// The browser's find field (Ctrl+F): servers whose name, mission or one of
// whose players contains the text are marked and the others dimmed; Enter
// selects the next marked server in the order shown, Escape closes the
// field and takes the marks away. Hidden until Ctrl+F.
class FindBar : public QLineEdit {
    Q_OBJECT
public:
    FindBar(ServerGrid* grid, const QueryTable& queries, QWidget* window);

    // Marks the rows again from their present texts and players.
    void remark();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void selectNextMatch();

    ServerGrid* grid_;
    const QueryTable& queries_;
    QList<bool> matches_;
    bool marked_ = false;
};
