#pragma once

#include "master/ItemFiles.h"
#include "master/ItemSearch.h"

#include <QFrame>

class ItemGridModel;
class MessageService;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QModelIndex;
class QRadioButton;
class QSplitter;
class QTableView;
class QToolBar;
class QToolButton;

// The item search window: the workshop's price list of work items (整備)
// and parts (部品) by category and vehicle class. In view mode the user picks
// a row to hand over to the slip, by choosing kind, category and class or by
// typing part of a name into the search field; in edit mode the same frame
// edits the price list in place and writes it back under Dat/Mst/Mnt/.
//
// Host contract: the host hands picked rows over (itemChosen() on a double
// click or Enter, GetSelectedItemLine() for the text), calls SaveAll() before
// it closes while the frame is in edit mode, and ReloadAll() after another
// instance may have changed the files.
class TFrame1 : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrame1)
public:
    using Kind = ItemFiles::Kind;

    TFrame1(const QString &appFolder, MessageService &messages, QWidget *parent = nullptr);
    ~TFrame1() override;

    void ReloadAll();
    // Items of the current category, then the vehicle classes of the kind.
    // False (after telling the user) when a file could not be written.
    bool SaveAll();
    void SetEditMode(bool on);
    bool editMode() const { return editMode_; }
    // The row text of the current item for the selected vehicle class; empty
    // when no item row is current.
    QString GetSelectedItemLine() const;

    void LoadCategories();
    void LoadVehicleClasses();
    void LoadItems();
    bool SaveItems();
    bool SaveVehicleClasses();
    void AdjustColumnWidths();

    Kind kind() const { return kind_; }
    void setKind(Kind kind);
    int currentCategory() const { return currentCategory_; }
    void selectCategory(int index);
    void selectVehicleClass(int index);
    const ItemFiles::CategoryList &categories() const { return categories_; }

    // The search field: focused with the cursor in it (Ctrl+F in the main
    // window), and the text that filters the list.
    void focusSearch();
    void setSearchText(const QString &text);
    bool searching() const;

    // A resting mouse over a name cut off by its column shows the full name
    // over the cell (the docked instance).
    void setNameHints(bool on) { nameHints_ = on; }

    // Row and column commands of the toolbar.
    void appendItemRow();
    void insertItemRowAtTop();
    void insertItemRowAtCurrent();
    void deleteItemRow();
    void appendVehicleClass();
    void removeLastVehicleClass();
    // Category commands of the toolbar.
    void addCategory();
    void deleteCategory();
    void renameCategory();

    ItemGridModel *model() const { return model_; }

    QFrame *Panel1;
    QRadioButton *RadioButton1; // 整備
    QRadioButton *RadioButton2; // 部品
    QFrame *TypePanel;
    QComboBox *ComboBox1; // categories
    QComboBox *ComboBox2; // vehicle classes
    QLineEdit *SearchEdit;
    QToolBar *ToolBar1;
    QToolButton *ToolButton1;
    QAction *N2, *N3, *N4;
    QSplitter *Splitter1;
    QListWidget *ListBox1;
    QTableView *StringGrid1;

Q_SIGNALS:
    // A row was picked for the slip: double click or Enter in view mode.
    void itemChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void categoryChosen(int index);
    void kindChosen(Kind kind);
    void refillCategoryLists(int selected);
    void applySearch();
    void setCurrentGridRow(int row);
    void report(const ItemFiles::ReadReport &report);
    void showWriteError(const QString &error);
    bool showNameHint(const QPoint &pos);
    // The text width of the widest name of the grid (row 0 included), at
    // least 100 pixels.
    int widestName() const;

    ItemFiles::Location where_;
    MessageService &messages_;
    Kind kind_ = Kind::Maintenance;
    bool editMode_ = false;
    bool nameHints_ = false;
    ItemFiles::CategoryList categories_;
    int currentCategory_ = -1;
    ItemGridModel *model_;
    // All items of the kind, read when a search starts and dropped whenever
    // the files may have changed.
    ItemSearch search_;
    bool searchBuilt_ = false;
};
