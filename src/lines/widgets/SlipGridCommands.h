#pragma once

#include <QObject>

class QAction;
class QFrame;
class QKeyEvent;
class QMenu;
class QToolButton;
class SlipGridEditors;
class SlipGridView;
class TSlipGridFrame;

// The row commands of the grid (copy, cut, paste, insert blank rows, delete)
// with their two context menus and the row tool panel that follows the
// current row.
class SlipGridCommands : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlipGridCommands)

public:
    explicit SlipGridCommands(TSlipGridFrame *frame);

    // PopupMenu1 for the grid and every editor but the description, which
    // gets PopupMenu2 with the text commands on top.
    void attachMenus(SlipGridView &view, SlipGridEditors &editors);
    // Moves the tool panel and its toggle to the row; -1 hides them.
    void placePanels(int row);

    // Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Insert, Ctrl+Delete.
    static bool isCommandKey(const QKeyEvent *key);
    void runKey(const QKeyEvent *key);

    void copyRows();
    void cutRows();
    void pasteRows();
    void insertRows();
    void deleteRows();

    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *EditCopy1 = nullptr;
    QAction *EditCut1 = nullptr;
    QAction *EditPaste1 = nullptr;
    QAction *EditInsert = nullptr;
    QAction *EditDelete1 = nullptr;
    QFrame *Panel1 = nullptr;            // the row tool panel
    QFrame *Panel2 = nullptr;            // holds the toggle in the row-number cell
    QToolButton *SpeedButton7 = nullptr; // ► shows or hides Panel1
    QToolButton *SpeedButton5 = nullptr; // ◄ closes Panel1

private:
    void buildPanels();
    void pasteText();

    TSlipGridFrame *frame_;
};
