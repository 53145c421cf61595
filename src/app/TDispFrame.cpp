#include "TDispFrame.h"

#include "AppSettings.h"

#include "controls/widgets/TFloatEdit.h"
#include "lines/FixedPoint.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "platform/MessageService.h"
#include "platform/TextList.h"
#include "print/widgets/TAutoLogoForm.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TDispFrame::TDispFrame(const QString &appDir, const QString &settingsPath, MessageService &messages,
                       QWidget *parent)
    : QWidget(parent), divisionsFile_(AppFolder(appDir).slipDivisionsFile()), settingsPath_(settingsPath)
{
    auto *tax = new QGroupBox(u"税設定"_s);
    TaxRNValEditC = new TFloatEdit;
    TaxRNValEditC->setDigits(2);
    TaxRNValEditC->setMin(0);
    TaxRNValEditC->setMax(99.99);
    TaxRNValEditC->setFixedWidth(80);
    TaxHComBox = new QComboBox;
    TaxHComBox->addItems({u"四捨五入"_s, u"切り捨て"_s, u"切り上げ"_s});
    TaxCalcComBox = new QComboBox;
    TaxCalcComBox->addItems({u"明細ごと"_s, u"税率ごと"_s});
    auto *rate = new QHBoxLayout;
    rate->addWidget(TaxRNValEditC);
    rate->addWidget(new QLabel(u"％"_s));
    rate->addStretch();
    auto *taxForm = new QFormLayout(tax);
    taxForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    taxForm->addRow(rowLabel(u"標準の消費税率(&S)"_s, TaxRNValEditC), rate);
    taxForm->addRow(rowLabel(u"消費税端数(&H)"_s, TaxHComBox), TaxHComBox);
    taxForm->addRow(rowLabel(u"税計算(&C)"_s, TaxCalcComBox), TaxCalcComBox);

    auto *date = new QGroupBox(u"日付"_s);
    DateComBox = new QComboBox;
    DateComBox->addItems({u"西暦"_s, u"和暦"_s});
    auto *dateForm = new QFormLayout(date);
    dateForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    dateForm->addRow(rowLabel(u"日付表示(&D)"_s, DateComBox), DateComBox);

    auto *divisionsBox = new QGroupBox(u"伝票の区分"_s);
    ListBox1 = new QListWidget;
    Edit1 = new QLineEdit;
    Button1 = new QPushButton(u"追加(&A)"_s);
    Button2 = new QPushButton(u"修正(&M)"_s);
    Button3 = new QPushButton(u"削除(&D)"_s);
    Button2->setEnabled(false);
    Button3->setEnabled(false);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Edit1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addStretch();
    auto *divisionsLayout = new QHBoxLayout(divisionsBox);
    divisionsLayout->addWidget(ListBox1, 1);
    divisionsLayout->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tax);
    layout->addWidget(date);
    layout->addWidget(divisionsBox, 1);

    const AppSettings settings = AppSettings::read(settingsPath_);
    DateComBox->setCurrentIndex(settings.eraDates ? 1 : 0);
    TaxRNValEditC->setValue(Fixed::toDouble(settings.taxRate));
    TaxHComBox->setCurrentIndex(qBound(0, settings.rounding, 2));
    TaxCalcComBox->setCurrentIndex(settings.taxCalcMode);
    // The division list belongs to the data folder; without it the page
    // starts empty and saving creates it.
    if (!QFileInfo::exists(divisionsFile_)) {
        messages.show(MessageService::Kind::Warning, QDir::toNativeSeparators(divisionsFile_) +
                                                         u" がありません。伝票の区分は空で始まります。"_s);
    }
    ListBox1->addItems(TextList::read(divisionsFile_));

    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(Button1, &QPushButton::clicked, this, &TDispFrame::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TDispFrame::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TDispFrame::Button3Click);
}

QStringList TDispFrame::divisions() const
{
    QStringList list;
    for (int i = 0; i < ListBox1->count(); ++i)
        list << ListBox1->item(i)->text();
    return list;
}

void TDispFrame::ListBox1Click()
{
    const QListWidgetItem *item = ListBox1->currentItem();
    if (!item)
        return;
    Edit1->setText(item->text());
    Button2->setEnabled(true);
    Button3->setEnabled(true);
}

void TDispFrame::Button1Click()
{
    ListBox1->addItem(Edit1->text());
}

void TDispFrame::Button2Click()
{
    if (QListWidgetItem *item = ListBox1->currentItem())
        item->setText(Edit1->text());
}

void TDispFrame::Button3Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    delete ListBox1->takeItem(row);
    ListBox1->setCurrentRow(-1);
    Button2->setEnabled(false);
    Button3->setEnabled(false);
}

bool TDispFrame::IsDisplayModified() const
{
    const AppSettings settings = AppSettings::read(settingsPath_);
    if (settings.eraDates != (DateComBox->currentIndex() == 1))
        return true;
    if (settings.taxRate != Fixed::fromDouble(TaxRNValEditC->Value()))
        return true;
    if (settings.rounding != TaxHComBox->currentIndex())
        return true;
    if (settings.taxCalcMode != TaxCalcComBox->currentIndex())
        return true;
    return TextList::read(divisionsFile_) != divisions();
}

bool TDispFrame::SaveDisplayOptions(QString *error)
{
    IniFile ini(settingsPath_);
    ini.writeInteger(u"Date"_s, u"Date"_s, DateComBox->currentIndex());
    ini.writeString(u"Tax"_s, u"SRate"_s, Fixed::toText(Fixed::fromDouble(TaxRNValEditC->Value())));
    ini.writeInteger(u"Tax"_s, u"Hasu"_s, TaxHComBox->currentIndex());
    ini.writeInteger(u"Tax"_s, u"CalcMode"_s, TaxCalcComBox->currentIndex());
    if (!ini.flush(error))
        return false;
    return TextList::write(divisionsFile_, divisions(), error);
}
