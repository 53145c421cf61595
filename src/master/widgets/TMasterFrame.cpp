#include "TMasterFrame.h"

#include "MasterGrid.h"

#include "master/MasterList.h"
#include "platform/MessageService.h"
#include "platform/SafeFileName.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TMasterFrame::TMasterFrame(const AppFolder &folder, MessageService &messages, QWidget *parent)
    : QWidget(parent), folder_(folder), messages_(messages)
{
    setObjectName(u"MasterFrame1"_s);
    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    StringGrid1 = new MasterGrid(this);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Button4 = commandButton(this, u"Button4"_s, u"追加(&A)"_s);
    Button3 = commandButton(this, u"Button3"_s, u"選択削除(&D)"_s);
    Button1 = commandButton(this, u"Button1"_s, u"上へ(&U)"_s);
    Button2 = commandButton(this, u"Button2"_s, u"下へ(&W)"_s);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {Button4, Button3, Button1, Button2})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addWidget(StringGrid1, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(body, 1);

    connect(Button4, &QPushButton::clicked, StringGrid1, &MasterGrid::appendRow);
    connect(Button3, &QPushButton::clicked, StringGrid1, &MasterGrid::deleteCurrentRow);
    connect(Button1, &QPushButton::clicked, this, [this] { StringGrid1->moveCurrentRow(-1); });
    connect(Button2, &QPushButton::clicked, this, [this] { StringGrid1->moveCurrentRow(+1); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, &TMasterFrame::cellChanged);
}

TMasterFrame::~TMasterFrame()
{
    saveList();
}

void TMasterFrame::ShowList(const QString &name)
{
    if (!SafeFileName::isSafe(name)) {
        messages_.show(MessageService::Kind::Warning, SafeFileName::refusal(name));
        return;
    }
    saveList();
    listName_ = name;
    Label1->setText(name);
    const int columns = MasterList::columnCount(name);
    updating_ = true;
    StringGrid1->setColumnCount(columns);
    StringGrid1->setAmountColumn(columns > 1 ? 1 : -1);
    StringGrid1->setRows(MasterList::load(folder_, name));
    updating_ = false;
    layoutColumns();
}

bool TMasterFrame::saveList()
{
    if (listName_.isEmpty())
        return true;
    StringGrid1->commitEdit();
    QString error;
    if (MasterList::save(folder_, listName_, StringGrid1->rows(), &error))
        return true;
    messages_.show(MessageService::Kind::Error, error);
    return false;
}

void TMasterFrame::setReadOnly(bool on)
{
    StringGrid1->setReadOnly(on);
    for (QPushButton *b : {Button4, Button3, Button1, Button2})
        b->setEnabled(!on);
}

QStringList TMasterFrame::currentTexts() const
{
    return StringGrid1->currentTexts();
}

void TMasterFrame::cellChanged(QTableWidgetItem *item)
{
    if (updating_ || item->column() != StringGrid1->amountColumn())
        return;
    // Amounts are whole yen or nothing; other text never reaches the file.
    const QString kept = MasterList::amountText(item->text());
    if (kept != item->text()) {
        updating_ = true;
        item->setText(kept);
        updating_ = false;
    }
}

void TMasterFrame::layoutColumns()
{
    const int width = StringGrid1->viewport()->width();
    if (StringGrid1->columnCount() == 1) {
        StringGrid1->setColumnWidth(0, width);
        return;
    }
    QFont gothic(u"ＭＳ ゴシック"_s);
    gothic.setPointSizeF(StringGrid1->font().pointSizeF());
    const int amount = QFontMetrics(gothic).horizontalAdvance(u"000,000,000"_s) + 8;
    StringGrid1->setColumnWidth(1, amount);
    StringGrid1->setColumnWidth(0, qMax(40, width - amount));
}

void TMasterFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutColumns();
}

void TMasterFrame::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    layoutColumns();
}
