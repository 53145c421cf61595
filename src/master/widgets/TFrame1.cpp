#include "TFrame1.h"

#include "ItemGridModel.h"

#include "platform/MessageService.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString GridHint = u"ダブルクリックで明細に挿入"_s;
constexpr int TypePanelHeight = 57;
constexpr int ToolBarHeight = 26;
// The extra column that names an item's category while searching.
constexpr int CategoryColumnWidth = 56;

} // namespace

TFrame1::TFrame1(const QString &appFolder, MessageService &messages, QWidget *parent)
    : QFrame(parent), where_(appFolder), messages_(messages)
{
    setObjectName(u"Frame11"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(u"Panel1"_s);
    auto *kinds = new QHBoxLayout(Panel1);
    kinds->setContentsMargins(4, 2, 4, 0);
    RadioButton1 = new QRadioButton(u"整備(&S)"_s, Panel1);
    RadioButton1->setObjectName(u"RadioButton1"_s);
    RadioButton2 = new QRadioButton(u"部品(&B)"_s, Panel1);
    RadioButton2->setObjectName(u"RadioButton2"_s);
    RadioButton1->setChecked(true);
    // The frame shares the main window with the slip, whose "上書き保存(&S)"
    // must keep Alt+S: the kind buttons answer their letters only while the
    // focus is inside the frame.
    for (QRadioButton *button : {RadioButton1, RadioButton2}) {
        const QKeySequence mnemonic = button->shortcut();
        button->setShortcut(QKeySequence());
        auto *local = new QShortcut(mnemonic, this);
        local->setContext(Qt::WidgetWithChildrenShortcut);
        connect(local, &QShortcut::activated, button, [button] {
            button->setFocus(Qt::ShortcutFocusReason);
            button->click();
        });
    }
    kinds->addWidget(RadioButton1);
    kinds->addWidget(RadioButton2);
    kinds->addStretch(1);
    layout->addWidget(Panel1);

    TypePanel = new QFrame(this);
    TypePanel->setObjectName(u"TypePanel"_s);
    auto *types = new QFormLayout(TypePanel);
    types->setContentsMargins(4, 0, 4, 0);
    types->setVerticalSpacing(2);
    ComboBox1 = new QComboBox(TypePanel);
    ComboBox1->setObjectName(u"ComboBox1"_s);
    ComboBox1->setMaxVisibleItems(20);
    ComboBox2 = new QComboBox(TypePanel);
    ComboBox2->setObjectName(u"ComboBox2"_s);
    ComboBox2->setMaxVisibleItems(10);
    auto *label1 = new QLabel(u"分類(&D)"_s, TypePanel);
    label1->setBuddy(ComboBox1);
    auto *label2 = new QLabel(u"車種(&C)"_s, TypePanel);
    label2->setBuddy(ComboBox2);
    types->addRow(label1, ComboBox1);
    types->addRow(label2, ComboBox2);
    TypePanel->setFixedHeight(TypePanelHeight);
    layout->addWidget(TypePanel);

    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(u"SearchEdit"_s);
    SearchEdit->setPlaceholderText(u"品名で検索 (Ctrl+F)"_s);
    // The clear button shows only over text; its icon is loaded once there
    // is text, not while the window starts.
    connect(SearchEdit, &QLineEdit::textChanged, SearchEdit, [this](const QString &text) {
        if (!text.isEmpty() && !SearchEdit->isClearButtonEnabled())
            SearchEdit->setClearButtonEnabled(true);
    });
    SearchEdit->setStatusTip(u"品名の一部で全分類を検索します。Enterで明細へ、Escで解除"_s);
    SearchEdit->installEventFilter(this);
    layout->addWidget(SearchEdit);

    buildToolBar();
    layout->addWidget(ToolBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(u"Splitter1"_s);
    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName(u"ListBox1"_s);
    StringGrid1 = new QTableView(Splitter1);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    model_ = new ItemGridModel(this);
    StringGrid1->setModel(model_);
    StringGrid1->setItemDelegate(new ItemCellDelegate(StringGrid1));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(23);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->setShowGrid(false);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    StringGrid1->viewport()->installEventFilter(this);
    StringGrid1->installEventFilter(this);
    Splitter1->addWidget(ListBox1);
    Splitter1->addWidget(StringGrid1);
    Splitter1->setStretchFactor(1, 1);
    layout->addWidget(Splitter1, 1);

    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            kindChosen(Kind::Maintenance);
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            kindChosen(Kind::Parts);
    });
    connect(ComboBox1, &QComboBox::activated, this, &TFrame1::categoryChosen);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != currentCategory_)
            categoryChosen(row);
    });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] { AdjustColumnWidths(); });
    connect(SearchEdit, &QLineEdit::textChanged, this, &TFrame1::applySearch);
    connect(StringGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!editMode_ && index.row() >= 1)
            Q_EMIT itemChosen();
    });

    LoadCategories();
    LoadVehicleClasses();
    LoadItems();
    SetEditMode(false);
}

TFrame1::~TFrame1() = default;

void TFrame1::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(u"ToolBar1"_s);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->setIconSize(QSize(16, 16));
    auto add = [this](const QString &name, const QString &text, const QString &hint,
                      void (TFrame1::*slot)()) {
        QAction *a = ToolBar1->addAction(text, this, slot);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        ToolBar1->widgetForAction(a)->setObjectName(name);
        return a;
    };
    QAction *append = add(u"ToolButton1"_s, u"行+"_s, u"行の追加"_s, &TFrame1::appendItemRow);
    ToolButton1 = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(append));
    auto *menu = new QMenu(ToolButton1);
    N4 = menu->addAction(u"先頭行に追加"_s, this, &TFrame1::insertItemRowAtTop);
    N4->setObjectName(u"N4"_s);
    N2 = menu->addAction(u"現在の行に追加"_s, this, &TFrame1::insertItemRowAtCurrent);
    N2->setObjectName(u"N2"_s);
    N3 = menu->addAction(u"最終行に追加"_s, this, &TFrame1::appendItemRow);
    N3->setObjectName(u"N3"_s);
    ToolButton1->setMenu(menu);
    ToolButton1->setPopupMode(QToolButton::MenuButtonPopup);
    add(u"ToolButton2"_s, u"行-"_s, u"行の削除"_s, &TFrame1::deleteItemRow);
    ToolBar1->addSeparator();
    add(u"ToolButton3"_s, u"列+"_s, u"列の追加"_s, &TFrame1::appendVehicleClass);
    add(u"ToolButton4"_s, u"列-"_s, u"列の削除"_s, &TFrame1::removeLastVehicleClass);
    ToolBar1->addSeparator();
    add(u"ToolButton6"_s, u"分類+"_s, u"分類追加"_s, &TFrame1::addCategory);
    add(u"ToolButton7"_s, u"分類-"_s, u"分類削除"_s, &TFrame1::deleteCategory);
    add(u"ToolButton8"_s, u"分類名"_s, u"分類名の変更"_s, &TFrame1::renameCategory);
    ToolBar1->setEnabled(false);
    ToolBar1->setFixedHeight(0);
}

// ---- loading and saving --------------------------------------------------------------------

void TFrame1::report(const ItemFiles::ReadReport &report)
{
    if (report.isEmpty())
        return;
    QStringList lines = report.skipped.mid(0, 10);
    if (report.skipped.size() > 10)
        lines.append(u"ほか %1 件"_s.arg(report.skipped.size() - 10));
    messages_.show(MessageService::Kind::Warning,
                   u"価格表の一部を読み込めませんでした。\n"_s + lines.join(u'\n'));
}

void TFrame1::showWriteError(const QString &error)
{
    messages_.show(MessageService::Kind::Error, u"価格表を保存できません。\n"_s + error);
}

void TFrame1::ReloadAll()
{
    searchBuilt_ = false;
    LoadCategories();
    LoadVehicleClasses();
    LoadItems();
    applySearch();
}

bool TFrame1::SaveAll()
{
    return SaveItems() && SaveVehicleClasses();
}

void TFrame1::LoadCategories()
{
    ItemFiles::ReadReport r;
    categories_ = ItemFiles::CategoryList::read(where_, &r);
    refillCategoryLists(categories_.isEmpty() ? -1 : 0);
    currentCategory_ = ComboBox1->currentIndex();
    report(r);
}

void TFrame1::refillCategoryLists(int selected)
{
    const QSignalBlocker b1(ComboBox1);
    const QSignalBlocker b2(ListBox1);
    const QStringList names = categories_.names();
    ComboBox1->clear();
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(selected);
    ListBox1->clear();
    ListBox1->addItems(names);
    ListBox1->setCurrentRow(selected);
}

void TFrame1::LoadVehicleClasses()
{
    ItemFiles::ReadReport r;
    const QStringList classes = ItemFiles::readClasses(where_, kind_, &r);
    model_->beginChange();
    model_->grid().setKind(kind_);
    model_->grid().setClasses(classes);
    model_->endChange();
    const QSignalBlocker block(ComboBox2);
    ComboBox2->clear();
    ComboBox2->addItems(classes);
    ComboBox2->setCurrentIndex(classes.isEmpty() ? -1 : 0);
    report(r);
}

void TFrame1::LoadItems()
{
    ItemFiles::ReadReport r;
    const int index = ComboBox1->currentIndex();
    QList<QStringList> items;
    if (index >= 0)
        items = ItemFiles::readItems(where_.itemFile(kind_, categories_.code(index)), &r);
    model_->beginChange();
    model_->grid().setItems(items);
    model_->endChange();
    currentCategory_ = index;
    setCurrentGridRow(1);
    AdjustColumnWidths();
    report(r);
}

bool TFrame1::SaveItems()
{
    if (currentCategory_ < 0 || currentCategory_ >= categories_.size())
        return true;
    QString error;
    if (!ItemFiles::writeItems(where_.itemFile(kind_, categories_.code(currentCategory_)),
                               model_->grid().items(), &error)) {
        showWriteError(error);
        return false;
    }
    searchBuilt_ = false;
    return true;
}

bool TFrame1::SaveVehicleClasses()
{
    const QStringList classes = model_->grid().classes();
    {
        const QSignalBlocker block(ComboBox2);
        ComboBox2->clear();
        ComboBox2->addItems(classes);
        ComboBox2->setCurrentIndex(classes.isEmpty() ? -1 : 0);
    }
    QString error;
    if (!ItemFiles::writeClasses(where_, kind_, classes, &error)) {
        showWriteError(error);
        return false;
    }
    searchBuilt_ = false;
    AdjustColumnWidths();
    return true;
}

// ---- choosing ---------------------------------------------------------------------------------

void TFrame1::categoryChosen(int index)
{
    if (index < 0 || index >= categories_.size())
        return;
    if (editMode_) {
        SaveItems();
        const QSignalBlocker b1(ComboBox1);
        const QSignalBlocker b2(ListBox1);
        ComboBox1->setCurrentIndex(index);
        ListBox1->setCurrentRow(index);
    }
    // Picking a category ends a search: the list shows that category again.
    if (!SearchEdit->text().isEmpty()) {
        const QSignalBlocker block(SearchEdit);
        SearchEdit->clear();
        model_->clearHits();
    }
    LoadItems();
}

void TFrame1::selectCategory(int index)
{
    if (index == ComboBox1->currentIndex() && index == currentCategory_)
        return;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(index);
    }
    categoryChosen(index);
}

void TFrame1::selectVehicleClass(int index)
{
    ComboBox2->setCurrentIndex(index);
}

void TFrame1::kindChosen(Kind kind)
{
    if (kind == kind_)
        return;
    if (editMode_)
        SaveItems();
    kind_ = kind;
    searchBuilt_ = false;
    LoadVehicleClasses();
    LoadItems();
    applySearch();
}

void TFrame1::setKind(Kind kind)
{
    (kind == Kind::Parts ? RadioButton2 : RadioButton1)->setChecked(true);
}

QString TFrame1::GetSelectedItemLine() const
{
    return model_->handOverText(StringGrid1->currentIndex().row(), ComboBox2->currentIndex());
}

void TFrame1::setCurrentGridRow(int row)
{
    if (row < 1 || row >= model_->rowCount()) {
        StringGrid1->setCurrentIndex({});
        return;
    }
    const int column = editMode_ ? qMax(0, StringGrid1->currentIndex().column()) : 0;
    StringGrid1->setCurrentIndex(model_->index(row, column));
    if (!editMode_)
        StringGrid1->selectRow(row);
}

// ---- modes and layout ---------------------------------------------------------------------------

void TFrame1::SetEditMode(bool on)
{
    if (!on && editMode_)
        SaveAll();
    if (on && searching()) {
        const QSignalBlocker block(SearchEdit);
        SearchEdit->clear();
        model_->clearHits();
        setCurrentGridRow(1);
    }
    editMode_ = on;
    model_->setEditable(on);
    TypePanel->setEnabled(!on);
    TypePanel->setFixedHeight(on ? 0 : TypePanelHeight);
    TypePanel->setVisible(!on);
    SearchEdit->setVisible(!on);
    ToolBar1->setEnabled(on);
    ToolBar1->setFixedHeight(on ? ToolBarHeight : 0);
    ToolBar1->setVisible(on);
    ListBox1->setVisible(on);
    Splitter1->handle(1)->setVisible(on);
    if (on) {
        const QSignalBlocker block(ListBox1);
        ListBox1->setCurrentRow(currentCategory_);
        StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
        StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
        // The row picked in view mode becomes one current cell.
        const QModelIndex current = StringGrid1->currentIndex();
        StringGrid1->clearSelection();
        if (current.isValid())
            StringGrid1->setCurrentIndex(current);
        StringGrid1->horizontalHeader()->hide();
        StringGrid1->setRowHidden(0, false);
        StringGrid1->setToolTip(QString());
        StringGrid1->setStatusTip(QString());
        Splitter1->setSizes({120, qMax(200, width() - 120)});
    } else {
        StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
        StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
        StringGrid1->horizontalHeader()->show();
        StringGrid1->setStatusTip(GridHint);
    }
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    AdjustColumnWidths();
}

void TFrame1::AdjustColumnWidths()
{
    const int columns = model_->grid().columnCount();
    // Row 0 is the header's text in view mode and an editable row in edit mode.
    StringGrid1->setRowHidden(0, !editMode_);
    if (editMode_) {
        StringGrid1->setColumnHidden(0, false);
        StringGrid1->setColumnWidth(0, widestName() + 10);
        for (int c = 1; c < columns; ++c) {
            StringGrid1->setColumnHidden(c, false);
            StringGrid1->setColumnWidth(c, 60);
        }
        return;
    }
    const int shown = ComboBox2->currentIndex() + 1;
    int used = 0;
    for (int c = 1; c < columns; ++c) {
        const bool visible = c == shown;
        StringGrid1->setColumnHidden(c, !visible);
        if (visible) {
            StringGrid1->setColumnWidth(c, 60 - columns);
            used += 60 - columns;
        }
    }
    const int category = model_->categoryColumn();
    if (category >= 0) {
        StringGrid1->setColumnHidden(category, false);
        StringGrid1->setColumnWidth(category, CategoryColumnWidth);
        used += CategoryColumnWidth;
    }
    StringGrid1->setColumnHidden(0, false);
    StringGrid1->setColumnWidth(0, qMax(40, StringGrid1->viewport()->width() - used - columns));
}

int TFrame1::widestName() const
{
    // Measuring every name of a long list is slow; no name is wider than its
    // length in the widest character, so the longest names are measured
    // first and the rest only while they could still be wider.
    const QFontMetrics fm(StringGrid1->font());
    const int widestChar =
        std::max({fm.maxWidth(), fm.horizontalAdvance(u"漢"_s), fm.horizontalAdvance(u"Ｗ"_s)});
    const ItemGrid &grid = model_->grid();
    QList<std::pair<qsizetype, int>> byLength;
    byLength.reserve(grid.rowCount());
    for (int r = 0; r < grid.rowCount(); ++r)
        byLength.append({grid.cell(r, 0).size(), r});
    std::sort(byLength.begin(), byLength.end(), std::greater<>());
    int widest = 100;
    for (const auto &[length, row] : std::as_const(byLength)) {
        if (length * widestChar <= widest)
            break;
        widest = qMax(widest, fm.horizontalAdvance(grid.cell(row, 0)));
    }
    return widest;
}

// ---- search -----------------------------------------------------------------------------------

bool TFrame1::searching() const
{
    return model_->searching();
}

void TFrame1::focusSearch()
{
    if (editMode_)
        return;
    SearchEdit->setFocus(Qt::ShortcutFocusReason);
    SearchEdit->selectAll();
}

void TFrame1::setSearchText(const QString &text)
{
    SearchEdit->setText(text);
}

void TFrame1::applySearch()
{
    const QString text = SearchEdit->text();
    if (text.trimmed().isEmpty()) {
        if (model_->searching()) {
            model_->clearHits();
            setCurrentGridRow(1);
            AdjustColumnWidths();
        }
        return;
    }
    if (!searchBuilt_) {
        ItemFiles::ReadReport r;
        search_.build(where_, kind_, categories_, model_->grid().columnCount() - 1, &r);
        searchBuilt_ = true;
        report(r);
    }
    model_->showHits(&search_, search_.find(text), categories_.names());
    setCurrentGridRow(1);
    AdjustColumnWidths();
}

// ---- keys and hints -------------------------------------------------------------------------------

bool TFrame1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SearchEdit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            if (SearchEdit->text().isEmpty())
                return false;
            SearchEdit->clear();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (StringGrid1->currentIndex().row() >= 1)
                Q_EMIT itemChosen();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            // The list moves while the cursor stays in the field.
            const int page = qMax(1, StringGrid1->viewport()->height() / 23 - 1);
            const int step = key->key() == Qt::Key_Up       ? -1
                             : key->key() == Qt::Key_Down   ? 1
                             : key->key() == Qt::Key_PageUp ? -page
                                                            : page;
            const int last = model_->rowCount() - 1;
            if (last >= 1)
                setCurrentGridRow(qBound(1, StringGrid1->currentIndex().row() + step, last));
            return true;
        }
        default:
            return false;
        }
    }
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress && !editMode_) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && StringGrid1->currentIndex().row() >= 1) {
            Q_EMIT itemChosen();
            return true;
        }
    }
    if (watched == StringGrid1->viewport() && event->type() == QEvent::ToolTip && nameHints_)
        return showNameHint(static_cast<QHelpEvent *>(event)->pos());
    // The name column takes the width the list has: its viewport gets its
    // size only when it is shown, after this frame's own resize.
    if (watched == StringGrid1->viewport() && event->type() == QEvent::Resize)
        AdjustColumnWidths();
    return QFrame::eventFilter(watched, event);
}

bool TFrame1::showNameHint(const QPoint &pos)
{
    const QModelIndex index = StringGrid1->indexAt(pos);
    const QString text = index.isValid() && index.column() == 0 ? index.data().toString() : QString();
    const QRect cell = index.isValid() ? StringGrid1->visualRect(index) : QRect();
    if (text.isEmpty() || QFontMetrics(StringGrid1->font()).horizontalAdvance(text) + 4 <= cell.width()) {
        QToolTip::hideText();
        return true;
    }
    // Over the cell, so the full name continues where the cut one stood.
    // Tool tips stand (2, 16) below and right of the point they are given
    // (beside a mouse pointer); that is taken back.
    const QPoint at = StringGrid1->viewport()->mapToGlobal(cell.topLeft() - QPoint(1, 1) - QPoint(2, 16));
    QToolTip::showText(at, text, StringGrid1->viewport(), cell);
    return true;
}
