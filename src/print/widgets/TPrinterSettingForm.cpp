#include "TPrinterSettingForm.h"

#include "PrinterService.h"
#include "platform/AppFolder.h"
#include "platform/HelpRequest.h"
#include "platform/MessageService.h"
#include "platform/TextList.h"
#include "print/PrintFormat.h"
#include "print/PrintSettings.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QDoubleSpinBox *correctionEdit(QWidget *parent)
{
    auto *edit = new QDoubleSpinBox(parent);
    edit->setRange(-50.0, 50.0);
    edit->setSingleStep(1.0);
    edit->setDecimals(1);
    edit->setSuffix(u" ㎜"_s);
    return edit;
}

QString baseName(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

} // namespace

TPrinterSettingForm::TPrinterSettingForm(const QString &appDir, const QString &settingsFile,
                                         PrinterService &printers, MessageService &messages, QWidget *parent)
    : QDialog(parent), appDir_(appDir), settingsFile_(settingsFile), printers_(printers), messages_(messages)
{
    setWindowTitle(u"プリンタの設定"_s);
    buildLayout();

    updating_ = true;
    PrComboBox->addItems(printers_.printerNames());
    PrComboBox->setCurrentIndex(printers_.currentPrinter());
    updating_ = false;
    if (printers_.currentPrinter() >= 0)
        PrComboBoxChange();

    remembered_.printer = printers_.currentPrinter();
    remembered_.paperSize = SzComboBox->isEnabled() ? printers_.paperSize() : -1;
    remembered_.paperSource = BiComboBox->isEnabled() ? printers_.paperSource() : -1;
    remembered_.orientationKnown = OrRadioButton1->isEnabled();
    remembered_.landscape = printers_.landscape();

    QStringList formats;
    PrintFormat::ListPrintFormats(appDir_, QString::fromUtf16(PrintFormat::SlipFormatType), formats);
    SlpComBox->addItems(formats);
    SlpComBox->setCurrentIndex(-1);
    const QString logoList = AppFolder(appDir_).logoListFile();
    if (QFileInfo::exists(logoList))
        JsComBox->addItems(TextList::read(logoList));
    JsComBox->setCurrentIndex(-1);

    double fixX = 0;
    double fixY = 0;
    PrintSettings::readCorrections(settingsFile_, &fixX, &fixY);
    SpinFloatEditX->setValue(fixX);
    SpinFloatEditY->setValue(fixY);
}

TPrinterSettingForm::~TPrinterSettingForm()
{
    // Written however the dialog ended, also after a cancel.
    QString error;
    if (!PrintSettings::writeCorrections(settingsFile_, SpinFloatEditX->value(), SpinFloatEditY->value(),
                                         &error))
        messages_.show(MessageService::Kind::Error, error);
}

void TPrinterSettingForm::buildLayout()
{
    auto *layout = new QVBoxLayout(this);

    auto *printerBox = new QGroupBox(u"プリンタ"_s, this);
    auto *printerGrid = new QGridLayout(printerBox);
    PrComboBox = new QComboBox(printerBox);
    auto *nameLabel = new QLabel(u"プリンタ名(&N):"_s, printerBox);
    nameLabel->setBuddy(PrComboBox);
    Button3 = new QPushButton(u"プロパティ(&P)..."_s, printerBox);
    printerGrid->addWidget(nameLabel, 0, 0);
    printerGrid->addWidget(PrComboBox, 0, 1);
    printerGrid->addWidget(Button3, 0, 2);
    QLabel **states[] = {&StateLabel1, &StateLabel2, &StateLabel3, &StateLabel4};
    const char16_t *captions[] = {u"状態:", u"種類:", u"場所:", u"コメント:"};
    for (int i = 0; i < 4; ++i) {
        *states[i] = new QLabel(u"-----"_s, printerBox);
        printerGrid->addWidget(new QLabel(QString::fromUtf16(captions[i]), printerBox), i + 1, 0);
        printerGrid->addWidget(*states[i], i + 1, 1, 1, 2);
    }
    layout->addWidget(printerBox);

    auto *row = new QHBoxLayout;
    auto *paperBox = new QGroupBox(u"用紙"_s, this);
    auto *paperForm = new QFormLayout(paperBox);
    SzComboBox = new QComboBox(paperBox);
    BiComboBox = new QComboBox(paperBox);
    paperForm->addRow(u"サイズ(&S):"_s, SzComboBox);
    paperForm->addRow(u"給紙方法(&B):"_s, BiComboBox);
    row->addWidget(paperBox, 1);
    auto *orientationBox = new QGroupBox(u"用紙の向き"_s, this);
    auto *orientationLayout = new QHBoxLayout(orientationBox);
    OrImage = new QLabel(orientationBox);
    OrImage->setFixedSize(32, 32);
    auto *radios = new QVBoxLayout;
    OrRadioButton1 = new QRadioButton(u"縦(&O)"_s, orientationBox);
    OrRadioButton2 = new QRadioButton(u"横(&A)"_s, orientationBox);
    radios->addWidget(OrRadioButton1);
    radios->addWidget(OrRadioButton2);
    orientationLayout->addWidget(OrImage);
    orientationLayout->addLayout(radios);
    row->addWidget(orientationBox);
    layout->addLayout(row);

    auto *slipBox = new QGroupBox(u"伝票の設定"_s, this);
    auto *slipGrid = new QGridLayout(slipBox);
    StringGrid1 = new QTableWidget(4, 1, slipBox);
    StringGrid1->setVerticalHeaderLabels({u" 1"_s, u" 2"_s, u" 3"_s, u" 4"_s});
    StringGrid1->verticalHeader()->setFixedWidth(20);
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setFixedHeight(StringGrid1->horizontalHeader()->sizeHint().height() +
                                4 * StringGrid1->verticalHeader()->defaultSectionSize() + 4);
    for (int r = 0; r < 4; ++r)
        StringGrid1->setItem(r, 0, new QTableWidgetItem);
    auto *titleLabel = new QLabel(u"伝票のタイトル(&T):"_s, slipBox);
    titleLabel->setBuddy(StringGrid1);
    CheckListBox1 = new QListWidget(slipBox);
    for (const char16_t *copy : {u"1枚目", u"2枚目", u"3枚目", u"4枚目"}) {
        auto *item = new QListWidgetItem(QString::fromUtf16(copy), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    CheckListBox1->setFixedHeight(StringGrid1->height());
    auto *copyLabel = new QLabel(u"複写(&C):"_s, slipBox);
    copyLabel->setBuddy(CheckListBox1);
    slipGrid->addWidget(titleLabel, 0, 0);
    slipGrid->addWidget(copyLabel, 0, 1);
    slipGrid->addWidget(StringGrid1, 1, 0);
    slipGrid->addWidget(CheckListBox1, 1, 1);
    SlpComBox = new QComboBox(slipBox);
    JsComBox = new QComboBox(slipBox);
    auto *formatLabel = new QLabel(u"伝票のデザイン(&D):"_s, slipBox);
    formatLabel->setBuddy(SlpComBox);
    auto *logoLabel = new QLabel(u"社名のデザイン(&L):"_s, slipBox);
    logoLabel->setBuddy(JsComBox);
    slipGrid->addWidget(formatLabel, 2, 0);
    slipGrid->addWidget(logoLabel, 2, 1);
    slipGrid->addWidget(SlpComBox, 3, 0);
    slipGrid->addWidget(JsComBox, 3, 1);
    auto *correctionBox = new QGroupBox(u"印刷補正値"_s, slipBox);
    auto *correction = new QHBoxLayout(correctionBox);
    SpinFloatEditY = correctionEdit(correctionBox);
    SpinFloatEditX = correctionEdit(correctionBox);
    correction->addWidget(new QLabel(u"縦"_s, correctionBox));
    correction->addWidget(SpinFloatEditY);
    correction->addWidget(new QLabel(u"横"_s, correctionBox));
    correction->addWidget(SpinFloatEditX);
    slipGrid->addWidget(correctionBox, 4, 0, 1, 2);
    layout->addWidget(slipBox);

    auto *buttons = new QHBoxLayout;
    PreviewButton = new QPushButton(u"印刷プレビュー(&V)"_s, this);
    OkButton = new QPushButton(u"OK"_s, this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(u"キャンセル"_s, this);
    Button1 = new QPushButton(u"ヘルプ(&H)"_s, this);
    buttons->addWidget(PreviewButton);
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);

    connect(PrComboBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!updating_)
            PrComboBoxChange();
    });
    connect(SzComboBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!updating_)
            SzComboBoxChange();
    });
    connect(BiComboBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!updating_)
            BiComboBoxChange();
    });
    connect(OrRadioButton1, &QRadioButton::clicked, this, &TPrinterSettingForm::OrRadioButtonClick);
    connect(OrRadioButton2, &QRadioButton::clicked, this, &TPrinterSettingForm::OrRadioButtonClick);
    connect(Button3, &QPushButton::clicked, this, &TPrinterSettingForm::Button3Click);
    connect(PreviewButton, &QPushButton::clicked, this, [this] { done(PreviewResult); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &TPrinterSettingForm::reject);
    Button1->setEnabled(HelpRequest::available());
    connect(Button1, &QPushButton::clicked, this, [this] { HelpRequest::show(helpContext_); });
}

int TPrinterSettingForm::run()
{
    if (printers_.printerNames().isEmpty()) {
        messages_.show(MessageService::Kind::Error, u"有効なプリンタが見つかりません"_s);
        return QDialog::Rejected;
    }
    return exec();
}

void TPrinterSettingForm::setValues(const PrinterSettingValues &v)
{
    StringGrid1->setHorizontalHeaderLabels({v.slipKindName});
    for (int r = 0; r < 4; ++r) {
        StringGrid1->item(r, 0)->setText(v.titles[size_t(r)]);
        CheckListBox1->item(r)->setCheckState(v.copies[size_t(r)] ? Qt::Checked : Qt::Unchecked);
    }
    selectByBaseName(SlpComBox, v.formatPath);
    selectByBaseName(JsComBox, v.logoPath);
    SpinFloatEditX->setValue(v.fixX);
    SpinFloatEditY->setValue(v.fixY);
}

void TPrinterSettingForm::selectByBaseName(QComboBox *box, const QString &path)
{
    box->setCurrentIndex(path.isEmpty() ? -1 : box->findText(baseName(path)));
}

PrinterSettingValues TPrinterSettingForm::values() const
{
    PrinterSettingValues v;
    v.slipKindName =
        StringGrid1->horizontalHeaderItem(0) ? StringGrid1->horizontalHeaderItem(0)->text() : QString();
    for (int r = 0; r < 4; ++r) {
        v.titles[size_t(r)] = StringGrid1->item(r, 0)->text();
        v.copies[size_t(r)] = CheckListBox1->item(r)->checkState() == Qt::Checked;
    }
    if (SlpComBox->currentIndex() >= 0) {
        const QString format = AppFolder(appDir_).formatFile(SlpComBox->currentText());
        v.formatPath = QFileInfo::exists(format) ? format : QString();
    }
    if (JsComBox->currentIndex() >= 0) {
        const QString logo = AppFolder(appDir_).logoFile(JsComBox->currentText());
        v.logoPath = QFileInfo::exists(logo) ? logo : QString();
    }
    v.fixX = SpinFloatEditX->value();
    v.fixY = SpinFloatEditY->value();
    return v;
}

void TPrinterSettingForm::PrComboBoxChange()
{
    printers_.selectPrinter(PrComboBox->currentIndex());
    updating_ = true;
    SzComboBox->clear();
    if (printers_.acceptsPaperSize() && !printers_.paperSizeNames().isEmpty()) {
        SzComboBox->addItems(printers_.paperSizeNames());
        SzComboBox->setCurrentIndex(printers_.paperSize());
        SzComboBox->setEnabled(true);
    } else {
        SzComboBox->setEnabled(false);
    }
    BiComboBox->clear();
    if (printers_.acceptsPaperSource() && !printers_.paperSourceNames().isEmpty()) {
        BiComboBox->addItems(printers_.paperSourceNames());
        BiComboBox->setCurrentIndex(printers_.paperSource());
        BiComboBox->setEnabled(true);
    } else {
        BiComboBox->setEnabled(false);
    }
    updating_ = false;
    const bool orientation = printers_.acceptsOrientation();
    OrRadioButton1->setEnabled(orientation);
    OrRadioButton2->setEnabled(orientation);
    if (orientation) {
        OrRadioButton2->setChecked(printers_.landscape());
        OrRadioButton1->setChecked(!printers_.landscape());
    }
    showOrientation();

    const PrinterService::Status status = printers_.status();
    StateLabel1->setText(status.paused     ? u"停止中"_s
                         : status.deleting ? u"削除中..."_s
                         : status.error    ? u"要調査"_s
                                           : u"準備完了"_s);
    StateLabel2->setText(status.driver);
    StateLabel3->setText(status.port);
    StateLabel4->setText(status.comment);
}

void TPrinterSettingForm::SzComboBoxChange()
{
    if (!printers_.acceptsPaperSize())
        return;
    printers_.setPaperSize(SzComboBox->currentIndex());
    printers_.apply();
}

void TPrinterSettingForm::BiComboBoxChange()
{
    if (!printers_.acceptsPaperSource())
        return;
    printers_.setPaperSource(BiComboBox->currentIndex());
    printers_.apply();
}

void TPrinterSettingForm::OrRadioButtonClick()
{
    if (!printers_.acceptsOrientation())
        return;
    printers_.setLandscape(OrRadioButton2->isChecked());
    printers_.apply();
    showOrientation();
}

void TPrinterSettingForm::Button3Click()
{
    if (!printers_.propertiesDialog(this))
        return;
    updating_ = true;
    PrComboBox->setCurrentIndex(printers_.currentPrinter());
    updating_ = false;
    PrComboBoxChange();
}

void TPrinterSettingForm::showOrientation()
{
    if (!OrRadioButton1->isEnabled()) {
        OrImage->clear();
        return;
    }
    OrImage->setPixmap(orientationPicture(OrRadioButton2->isChecked()));
}

QPixmap TPrinterSettingForm::orientationPicture(bool landscape)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect sheet = landscape ? QRect(2, 7, 28, 20) : QRect(7, 2, 20, 28);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    QFont font;
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(sheet, Qt::AlignCenter, u"A"_s);
    return pixmap;
}

void TPrinterSettingForm::reject()
{
    // Cancel puts the printer back as it was when the dialog opened.
    if (remembered_.printer >= 0) {
        printers_.selectPrinter(remembered_.printer);
        if (remembered_.paperSize >= 0)
            printers_.setPaperSize(remembered_.paperSize);
        if (remembered_.paperSource >= 0)
            printers_.setPaperSource(remembered_.paperSource);
        if (remembered_.orientationKnown)
            printers_.setLandscape(remembered_.landscape);
        printers_.apply();
    }
    QDialog::reject();
}
