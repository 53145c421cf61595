#include "TCarFrame.h"

#include "MasterGrid.h"

#include "master/CarMaster.h"
#include "platform/MessageService.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The last name the maker cell accepted, to put back a refused one.
constexpr int AcceptedRole = Qt::UserRole + 1;

} // namespace

TCarFrame::TCarFrame(const AppFolder &folder, MessageService &messages, QWidget *parent)
    : QWidget(parent), folder_(folder), messages_(messages)
{
    setObjectName(u"CarFrame1"_s);
    auto makeGrid = [this](const QString &name) {
        auto *g = new MasterGrid(this);
        g->setObjectName(name);
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->horizontalHeader()->setStretchLastSection(true);
        return g;
    };
    Label1 = new QLabel(u"メーカー"_s, this);
    StringGrid1 = makeGrid(u"StringGrid1"_s);
    Button1 = commandButton(this, u"Button1"_s, u"メーカー追加(&M)"_s);
    Button2 = commandButton(this, u"Button2"_s, u"選択削除(&D)"_s);
    Button5 = commandButton(this, u"Button5"_s, u"ソート(&S)"_s);
    Label2 = new QLabel(u"車種名"_s, this);
    StringGrid2 = makeGrid(u"StringGrid2"_s);
    Button4 = commandButton(this, u"Button4"_s, u"車種追加(&C)"_s);
    Button3 = commandButton(this, u"Button3"_s, u"選択削除(&L)"_s);
    Button6 = commandButton(this, u"Button6"_s, u"ソート(&O)"_s);

    auto *layout = new QGridLayout(this);
    auto column = [layout](int at, QLabel *label, MasterGrid *grid,
                           std::initializer_list<QPushButton *> buttons) {
        layout->addWidget(label, 0, at);
        layout->addWidget(grid, 1, at);
        auto *bar = new QHBoxLayout;
        for (QPushButton *b : buttons)
            bar->addWidget(b);
        bar->addStretch(1);
        layout->addLayout(bar, 2, at);
        layout->setColumnStretch(at, 1);
    };
    column(0, Label1, StringGrid1, {Button1, Button2, Button5});
    column(1, Label2, StringGrid2, {Button4, Button3, Button6});
    layout->setRowStretch(1, 1);

    connect(Button1, &QPushButton::clicked, this, &TCarFrame::addMaker);
    connect(Button2, &QPushButton::clicked, this, &TCarFrame::deleteMaker);
    connect(Button5, &QPushButton::clicked, this, &TCarFrame::sortMakers);
    connect(Button4, &QPushButton::clicked, this, &TCarFrame::addCarName);
    connect(Button3, &QPushButton::clicked, this, &TCarFrame::deleteCarName);
    connect(Button6, &QPushButton::clicked, this, &TCarFrame::sortCarNames);
    connect(StringGrid1, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previous, int) { makerRowChanged(row, previous); });
    connect(StringGrid1, &QTableWidget::itemChanged, this, &TCarFrame::makerEdited);

    loading_ = true;
    showMakers(CarMaster::makers(folder_));
    loadCarNames(makerName());
    loading_ = false;
}

TCarFrame::~TCarFrame()
{
    saveAll();
}

QString TCarFrame::makerName() const
{
    return StringGrid1->text(StringGrid1->currentRow());
}

QString TCarFrame::carName() const
{
    return StringGrid2->text(StringGrid2->currentRow());
}

void TCarFrame::setReadOnly(bool on)
{
    StringGrid1->setReadOnly(on);
    StringGrid2->setReadOnly(on);
    for (QPushButton *b : {Button1, Button2, Button5, Button4, Button3, Button6})
        b->setEnabled(!on);
}

void TCarFrame::saveAll()
{
    StringGrid1->commitEdit();
    StringGrid2->commitEdit();
    QString error;
    if (!CarMaster::saveMakers(folder_, StringGrid1->columnTexts(), &error))
        report(error);
    saveCarNames(makerName());
}

void TCarFrame::addMaker()
{
    // The new row becomes current: the car names shown are saved, and the
    // new maker starts without any.
    StringGrid1->appendRow();
}

void TCarFrame::deleteMaker()
{
    StringGrid1->commitEdit();
    const QString name = makerName();
    if (messages_.ask(u"メーカー "_s + name +
                      u" を削除しますか?\n同時にこのメーカーの車名データも削除されます"_s) !=
        MessageService::Answer::Yes)
        return;
    QString error;
    if (!CarMaster::removeCarNames(folder_, name, &error))
        report(error);
    // The deleted maker's car names are not saved anywhere.
    loading_ = true;
    StringGrid1->deleteCurrentRow();
    loadCarNames(makerName());
    loading_ = false;
}

void TCarFrame::sortMakers()
{
    StringGrid1->commitEdit();
    StringGrid2->commitEdit();
    // The car names shown stay with their maker wherever the sort puts it.
    const QString current = makerName();
    saveCarNames(current);
    QStringList makers = StringGrid1->columnTexts();
    CarMaster::sortNames(makers);
    loading_ = true;
    StringGrid1->setColumnTexts(makers);
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        StringGrid1->item(row, 0)->setData(AcceptedRole, makers.at(row));
    StringGrid1->setCurrentCell(qMax(0, int(makers.indexOf(current))), 0);
    loading_ = false;
}

void TCarFrame::addCarName()
{
    StringGrid2->appendRow();
}

void TCarFrame::deleteCarName()
{
    StringGrid2->deleteCurrentRow();
}

void TCarFrame::sortCarNames()
{
    StringGrid2->commitEdit();
    QStringList names = StringGrid2->columnTexts();
    CarMaster::sortNames(names);
    StringGrid2->setColumnTexts(names);
}

void TCarFrame::makerRowChanged(int row, int previous)
{
    if (loading_ || row == previous)
        return;
    // Saved under the name the row has now: a maker renamed in place takes
    // its car names along to a file of the new name.
    if (previous >= 0 && previous < StringGrid1->rowCount())
        saveCarNames(StringGrid1->text(previous));
    loadCarNames(StringGrid1->text(row));
}

void TCarFrame::makerEdited(QTableWidgetItem *item)
{
    if (loading_)
        return;
    const QString name = item->text();
    if (name.isEmpty() || CarMaster::isMakerName(name)) {
        item->setData(AcceptedRole, name);
        return;
    }
    // The name would become a file name outside the folder or one that
    // Windows refuses: the cell gets its last good name back.
    messages_.show(MessageService::Kind::Warning, CarMaster::refusal(name));
    loading_ = true;
    item->setText(item->data(AcceptedRole).toString());
    loading_ = false;
}

void TCarFrame::loadCarNames(const QString &maker)
{
    StringGrid2->setLines(CarMaster::carNames(folder_, maker));
}

void TCarFrame::saveCarNames(const QString &maker)
{
    if (loading_)
        return;
    QString error;
    if (!CarMaster::saveCarNames(folder_, maker, StringGrid2->columnTexts(), &error))
        report(error);
}

void TCarFrame::showMakers(const QStringList &makers)
{
    StringGrid1->setLines(makers);
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        StringGrid1->item(row, 0)->setData(AcceptedRole, StringGrid1->text(row));
}

void TCarFrame::report(const QString &error)
{
    messages_.show(MessageService::Kind::Error, error);
}
