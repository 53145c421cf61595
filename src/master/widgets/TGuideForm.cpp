#include "TGuideForm.h"

#include "MasterGrid.h"
#include "TCarFrame.h"
#include "TMasterFrame.h"

#include "controls/widgets/HelpButton.h"
#include "master/CarMaster.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TGuideForm::TGuideForm(const AppFolder &folder, MessageService &messages, int kind, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"GuideForm"_s);
    setWindowTitle(u"選択"_s);
    setFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));

    auto *layout = new QVBoxLayout(this);
    MasterGrid *grid = nullptr;
    if (kind == CarNames) {
        CarFrame1 = new TCarFrame(folder, messages, this);
        grid = CarFrame1->StringGrid2;
        layout->addWidget(CarFrame1, 1);
        resize(560, 420);
    } else {
        MasterFrame1 = new TMasterFrame(folder, messages, this);
        if (kind == Costs)
            MasterFrame1->ShowList(u"諸費用"_s);
        else if (kind == Staff)
            MasterFrame1->ShowList(u"担当者"_s);
        grid = MasterFrame1->StringGrid1;
        layout->addWidget(MasterFrame1, 1);
        resize(420, 400);
    }

    Button3 = commandButton(this, u"Button3"_s, u"編集(&E)"_s);
    Button4 = commandButton(this, u"Button4"_s, u"ヘルプ(&H)"_s);
    connectHelpButton(Button4, 28);
    Button2 = commandButton(this, u"Button2"_s, u"OK"_s);
    Button2->setDefault(true);
    Button1 = commandButton(this, u"Button1"_s, u"キャンセル"_s);
    auto *bar = new QHBoxLayout;
    bar->addWidget(Button3);
    bar->addStretch(1);
    bar->addWidget(Button2);
    bar->addWidget(Button1);
    bar->addWidget(Button4);
    layout->addLayout(bar);

    connect(Button3, &QPushButton::clicked, this, &TGuideForm::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    // A double click on a row picks it while the lists are read-only.
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!editing_)
            accept();
    });
    setEditing(false);
    grid->setFocus();
}

TGuideForm::Pick TGuideForm::result() const
{
    if (CarFrame1)
        return {CarMaster::carNameText(CarFrame1->makerName(), CarFrame1->carName()), QString()};
    const QStringList texts = MasterFrame1->currentTexts();
    return {texts.value(0).trimmed(), texts.value(1)};
}

std::optional<TGuideForm::Pick> TGuideForm::pick(const AppFolder &folder, MessageService &messages, int kind,
                                                 QWidget *parent)
{
    TGuideForm dialog(folder, messages, kind, parent);
    if (dialog.exec() != Accepted)
        return std::nullopt;
    return dialog.result();
}

void TGuideForm::Button3Click()
{
    setEditing(!editing_);
}

void TGuideForm::setEditing(bool on)
{
    editing_ = on;
    if (CarFrame1)
        CarFrame1->setReadOnly(!on);
    if (MasterFrame1)
        MasterFrame1->setReadOnly(!on);
    Button3->setText(on ? u"編集終了(&E)"_s : u"編集(&E)"_s);
}

void TGuideForm::done(int result)
{
    // A cell still being typed into counts for the pick and for the save.
    if (CarFrame1) {
        CarFrame1->StringGrid1->commitEdit();
        CarFrame1->StringGrid2->commitEdit();
    }
    if (MasterFrame1)
        MasterFrame1->StringGrid1->commitEdit();
    QDialog::done(result);
}
