#include "TTaxGridFrame.h"

#include "TaxGridDelegate.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString InvalidName = QStringLiteral("分類名に無効な文字が含まれています。");
const QString NameCaption = QStringLiteral("分類名入力");
constexpr int MinRows = 2;
constexpr int MinColumns = 2;

bool isValueCell(int row, int column)
{
    return row >= 1 && column >= 1;
}

} // namespace

TTaxGridFrame::TTaxGridFrame(const QString &appFolder, MessageService &messages, QWidget *parent)
    : QWidget(parent), appFolder_(appFolder), messages_(messages)
{
    Label1 = new QLabel(this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumContentsLength(12);
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    delegate_ = new TaxGridDelegate(StringGrid1);
    StringGrid1->setItemDelegate(delegate_);

    QFont gridFont = StringGrid1->font();
    gridFont.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                          QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
    StringGrid1->setFont(gridFont);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setWordWrap(false);
    StringGrid1->setTabKeyNavigation(false);

    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(ComboBox1);
    top->addStretch(1);

    auto *bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    connect(toolButton(QStringLiteral("行追加"), QStringLiteral("行の追加")), &QToolButton::clicked, this,
            &TTaxGridFrame::addRow);
    connect(toolButton(QStringLiteral("行削除"), QStringLiteral("最終行削除")), &QToolButton::clicked, this,
            &TTaxGridFrame::deleteLastRow);
    connect(toolButton(QStringLiteral("列追加"), QStringLiteral("列の追加")), &QToolButton::clicked, this,
            &TTaxGridFrame::addColumn);
    connect(toolButton(QStringLiteral("列削除"), QStringLiteral("最終列削除")), &QToolButton::clicked, this,
            &TTaxGridFrame::deleteLastColumn);
    bar->addSpacing(12);
    connect(toolButton(QStringLiteral("分類追加"), QStringLiteral("分類の追加")), &QToolButton::clicked, this,
            &TTaxGridFrame::addClassification);
    connect(toolButton(QStringLiteral("分類削除"), QStringLiteral("現在の分類を削除")), &QToolButton::clicked,
            this, &TTaxGridFrame::deleteClassification);
    connect(toolButton(QStringLiteral("分類名変更"), QStringLiteral("分類名の変更")), &QToolButton::clicked,
            this, &TTaxGridFrame::renameClassification);
    bar->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(Panel2);
    layout->addWidget(StringGrid1, 1);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
        if (!updating_)
            ComboBox1Change();
    });
    connect(StringGrid1, &QTableWidget::cellChanged, this, &TTaxGridFrame::onItemChanged);

    SetEditing(false);
}

TTaxGridFrame::~TTaxGridFrame()
{
    // Destroying the frame saves the table; there is no one left to tell of
    // a failure, so a failed write is simply not retried.
    if (dirty_ && !current_.isEmpty())
        TaxTables::saveTable(TaxTables::tablePath(appFolder_, kind_, current_), grid(), nullptr);
}

QToolButton *TTaxGridFrame::toolButton(const QString &text, const QString &hint)
{
    auto *b = new QToolButton(Panel2);
    b->setText(text);
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    Panel2->layout()->addWidget(b);
    return b;
}

QStringList TTaxGridFrame::listNames() const
{
    QStringList names;
    for (int i = 0; i < ComboBox1->count(); ++i)
        names.append(ComboBox1->itemText(i));
    return names;
}

void TTaxGridFrame::selectClassification(int index)
{
    const bool was = updating_;
    updating_ = true;
    ComboBox1->setCurrentIndex(index);
    updating_ = was;
}

void TTaxGridFrame::SetTableKind(int kind)
{
    saveTable();
    kind_ = kind;
    Label1->setText(TaxTables::kindLabel(kind));
    const bool was = updating_;
    updating_ = true;
    ComboBox1->clear();
    ComboBox1->addItems(TaxTables::readClassifications(appFolder_, kind));
    updating_ = was;
    selectClassification(0);
    current_ = ComboBox1->currentText();
    loadTable();
}

void TTaxGridFrame::ComboBox1Change()
{
    if (!saveTable()) {
        // The edits of the shown table would be lost: stay with it.
        selectClassification(int(listNames().indexOf(current_)));
        return;
    }
    current_ = ComboBox1->currentText();
    loadTable();
}

void TTaxGridFrame::loadTable()
{
    const std::optional<TaxTables::Grid> g =
        TaxTables::loadTable(TaxTables::tablePath(appFolder_, kind_, current_));
    showGrid(g ? *g : TaxTables::emptyGrid());
}

void TTaxGridFrame::showGrid(const TaxTables::Grid &g)
{
    updating_ = true;
    StringGrid1->clearContents();
    StringGrid1->setRowCount(g.rowCount());
    StringGrid1->setColumnCount(g.columns());
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.columns(); ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(g.rows[r][c]));
    fitColumns();
    applyItemFlags();
    updating_ = false;
    dirty_ = false;
    StringGrid1->setCurrentCell(qMin(1, g.rowCount() - 1), qMin(1, g.columns() - 1));
}

void TTaxGridFrame::fitColumns()
{
    // Column 0 is 100 pixels and the others as wide as "0,000,000", but a
    // heading is never cut off.
    const QFontMetrics fm(StringGrid1->font());
    const int base = fm.horizontalAdvance(QStringLiteral("0,000,000")) + 8;
    for (int c = 0; c < StringGrid1->columnCount(); ++c) {
        const QTableWidgetItem *heading = StringGrid1->item(0, c);
        const int needed = heading ? fm.horizontalAdvance(heading->text()) + 8 : 0;
        StringGrid1->setColumnWidth(c, qMax(c == 0 ? 100 : base, needed));
    }
}

TaxTables::Grid TTaxGridFrame::grid() const
{
    TaxTables::Grid g;
    for (int r = 0; r < StringGrid1->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < StringGrid1->columnCount(); ++c) {
            const QTableWidgetItem *i = StringGrid1->item(r, c);
            row.append(i ? i->text() : QString());
        }
        g.rows.append(row);
    }
    return g;
}

bool TTaxGridFrame::saveTable()
{
    if (!dirty_ || current_.isEmpty())
        return true;
    const QString path = TaxTables::tablePath(appFolder_, kind_, current_);
    QString error;
    if (!TaxTables::saveTable(path, grid(), &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return false;
    }
    dirty_ = false;
    return true;
}

void TTaxGridFrame::SetEditing(bool on)
{
    editing_ = on;
    Panel2->setVisible(on);
    delegate_->setFixedHeadings(!on);
    StringGrid1->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::AnyKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
    const bool was = updating_;
    updating_ = true;
    applyItemFlags();
    updating_ = was;
    fitColumns();
    // Outside edit mode the cursor stays off the fixed headings.
    if (!on && StringGrid1->rowCount() > 1 && StringGrid1->columnCount() > 1 &&
        (StringGrid1->currentRow() < 1 || StringGrid1->currentColumn() < 1))
        StringGrid1->setCurrentCell(qMax(1, StringGrid1->currentRow()),
                                    qMax(1, StringGrid1->currentColumn()));
    StringGrid1->viewport()->update();
}

void TTaxGridFrame::applyItemFlags()
{
    for (int r = 0; r < StringGrid1->rowCount(); ++r) {
        for (int c = 0; c < StringGrid1->columnCount(); ++c) {
            QTableWidgetItem *i = StringGrid1->item(r, c);
            if (!i)
                continue;
            if (editing_)
                i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            else if (isValueCell(r, c))
                i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            else
                i->setFlags(Qt::NoItemFlags);
        }
    }
}

void TTaxGridFrame::fillNewCells()
{
    const bool was = updating_;
    updating_ = true;
    for (int r = 0; r < StringGrid1->rowCount(); ++r)
        for (int c = 0; c < StringGrid1->columnCount(); ++c)
            if (!StringGrid1->item(r, c))
                StringGrid1->setItem(r, c, new QTableWidgetItem);
    applyItemFlags();
    updating_ = was;
}

void TTaxGridFrame::onItemChanged(int row, int column)
{
    if (updating_)
        return;
    dirty_ = true;
    if (!isValueCell(row, column))
        return;
    QTableWidgetItem *i = StringGrid1->item(row, column);
    const std::optional<qint64> amount = TaxTables::amountOf(i->text());
    const QString clean = amount ? QString::number(*amount) : QString();
    if (clean != i->text()) {
        // A value cell holds whole yen or nothing.
        updating_ = true;
        i->setText(clean);
        updating_ = false;
    }
}

qint64 TTaxGridFrame::selectedAmount() const
{
    const int r = StringGrid1->currentRow();
    const int c = StringGrid1->currentColumn();
    if (!isValueCell(r, c))
        return 0;
    const QTableWidgetItem *i = StringGrid1->item(r, c);
    return i ? TaxTables::amountOf(i->text()).value_or(0) : 0;
}

void TTaxGridFrame::addRow()
{
    StringGrid1->setRowCount(StringGrid1->rowCount() + 1);
    fillNewCells();
    dirty_ = true;
}

void TTaxGridFrame::deleteLastRow()
{
    if (StringGrid1->rowCount() <= MinRows)
        return;
    StringGrid1->setRowCount(StringGrid1->rowCount() - 1);
    dirty_ = true;
}

void TTaxGridFrame::addColumn()
{
    StringGrid1->setColumnCount(StringGrid1->columnCount() + 1);
    fillNewCells();
    fitColumns();
    dirty_ = true;
}

void TTaxGridFrame::deleteLastColumn()
{
    if (StringGrid1->columnCount() <= MinColumns)
        return;
    StringGrid1->setColumnCount(StringGrid1->columnCount() - 1);
    dirty_ = true;
}

bool TTaxGridFrame::writeList(const QStringList &names)
{
    QString error;
    if (TaxTables::writeClassifications(appFolder_, kind_, names, &error))
        return true;
    messages_.show(MessageService::Kind::Error, error);
    return false;
}

void TTaxGridFrame::addClassification()
{
    const std::optional<QString> name =
        messages_.askText(NameCaption, QStringLiteral("追加する分類名を入力してください。"), QString());
    if (!name || name->isEmpty())
        return;
    if (!TaxTables::isValidClassName(*name)) {
        messages_.show(MessageService::Kind::Error, InvalidName);
        return;
    }
    QStringList names = listNames();
    qsizetype index = names.indexOf(*name);
    if (index < 0) {
        names.append(*name);
        if (!writeList(names))
            return;
        const bool was = updating_;
        updating_ = true;
        ComboBox1->addItem(*name);
        updating_ = was;
        index = names.size() - 1;
    }
    if (index == ComboBox1->currentIndex())
        return;
    selectClassification(int(index));
    ComboBox1Change();
}

void TTaxGridFrame::deleteClassification()
{
    if (ComboBox1->count() <= 1) {
        messages_.show(MessageService::Kind::Error, QStringLiteral("1件以下にはできません"));
        return;
    }
    const QString name = ComboBox1->currentText();
    if (!messages_.askWarning(u"分類「"_s + name + u"」を削除しますか?"_s))
        return;
    QStringList names = listNames();
    names.removeAt(ComboBox1->currentIndex());
    if (!writeList(names))
        return;
    QFile::remove(TaxTables::tablePath(appFolder_, kind_, name));
    current_.clear();
    dirty_ = false;
    const bool was = updating_;
    updating_ = true;
    ComboBox1->removeItem(ComboBox1->currentIndex());
    updating_ = was;
    selectClassification(0);
    current_ = ComboBox1->currentText();
    loadTable();
}

void TTaxGridFrame::renameClassification()
{
    const QString old = current_;
    if (old.isEmpty())
        return;
    const std::optional<QString> name =
        messages_.askText(NameCaption, QStringLiteral("新しい分類名を入力してください。"), old);
    if (!name || *name == old)
        return;
    // The edits so far belong to the table under its new name.
    if (!saveTable())
        return;
    QStringList names = listNames();
    if (names.contains(*name) || !TaxTables::renameTable(appFolder_, kind_, old, *name)) {
        messages_.show(MessageService::Kind::Error, InvalidName);
        return;
    }
    current_ = *name;
    const int index = int(names.indexOf(old));
    names[index] = *name;
    const bool was = updating_;
    updating_ = true;
    ComboBox1->setItemText(index, *name);
    updating_ = was;
    writeList(names);
    selectClassification(index);
}
