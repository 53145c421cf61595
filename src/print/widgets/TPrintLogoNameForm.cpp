#include "TPrintLogoNameForm.h"

#include "LogoPreview.h"
#include "TAutoLogoForm.h"

#include "platform/MessageService.h"
#include "platform/TextList.h"
#include "print/RegistrationNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList Sizes = {u"8"_s,  u"9"_s,  u"10"_s, u"11"_s, u"12"_s, u"13"_s, u"14"_s, u"15"_s,
                           u"16"_s, u"17"_s, u"18"_s, u"20"_s, u"24"_s, u"36"_s, u"48"_s, u"72"_s};

QToolButton *styleButton(const QString &text, bool bold)
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setCheckable(true);
    QFont font = button->font();
    font.setBold(bold);
    font.setItalic(!bold);
    button->setFont(font);
    return button;
}

QComboBox *faceBox()
{
    auto *box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(TPrintLogoNameForm::japaneseFaces());
    box->setMinimumWidth(200);
    return box;
}

QComboBox *sizeBox(bool withEmpty)
{
    auto *box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (withEmpty)
        box->addItem(QString());
    box->addItems(Sizes);
    box->setFixedWidth(70);
    return box;
}

// One block's font: face, bold, italic and size in a row.
struct FontRow {
    QComboBox *face;
    QToolButton *bold;
    QToolButton *italic;
    QComboBox *size;
    QHBoxLayout *layout;
};

FontRow fontRow(bool sizeMayBeEmpty)
{
    FontRow row{faceBox(), styleButton(u"B"_s, true), styleButton(u"I"_s, false), sizeBox(sizeMayBeEmpty),
                new QHBoxLayout};
    row.layout->addWidget(row.face, 1);
    row.layout->addWidget(row.bold);
    row.layout->addWidget(row.italic);
    row.layout->addWidget(row.size);
    return row;
}

} // namespace

QStringList TPrintLogoNameForm::japaneseFaces()
{
    QStringList faces;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!family.startsWith(u'@'))
            faces << family;
    }
    return faces;
}

TPrintLogoNameForm::TPrintLogoNameForm(const QString &path, MessageService &messages, QWidget *parent)
    : QDialog(parent), messages_(messages)
{
    setWindowTitle(u"自社名ロゴ編集"_s);
    choosePicture = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            u"画像ファイル(*.bmp *.jpg *.jpeg)"_s);
    };

    // The preview: the logo at its natural size on a white card.
    auto *Shape1 = new QFrame;
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setStyleSheet(u"QFrame { background: white; }"_s);
    Image1 = new QLabel;
    Image1->setFixedSize(LogoSetting::CanvasWidth, LogoSetting::CanvasHeight);
    auto *card = new QVBoxLayout(Shape1);
    card->setContentsMargins(8, 8, 8, 8);
    card->addWidget(Image1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPrintLogoNameForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(u"プレビュー"_s));
    right->addWidget(Shape1);
    right->addWidget(buildPictureBox());
    right->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(buildCompanyBox());
    left->addWidget(buildAddressBox(), 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    bool ok = false;
    const QStringList lines = TextList::read(path, &ok);
    if (ok && LogoSetting::isSettingLineCount(lines.size())) {
        lines_ = lines;
    } else {
        messages_.show(MessageService::Kind::Error, u"設定ファイルが読み込めません"_s);
        for (int i = 0; i < LogoSetting::LineCount; ++i)
            lines_ << QString();
    }
    fill();
    connectAll();
    render();
}

QWidget *TPrintLogoNameForm::buildCompanyBox()
{
    auto *box = new QGroupBox(u"社名"_s);
    const FontRow font = fontRow(false);
    NameComBox = font.face;
    SMBoldSpeedButton = font.bold;
    SMItalicSpeedButton = font.italic;
    ComboBox1 = font.size;
    SyameiEdit1 = new QLineEdit;
    SyameiEdit2 = new QLineEdit;
    RegistrationEdit = new QLineEdit;
    RegistrationEdit->setPlaceholderText(u"T1234567890123"_s);
    auto *form = new QFormLayout(box);
    form->addRow(rowLabel(u"フォント(&F)"_s, NameComBox), font.layout);
    form->addRow(u"1行目(&1)"_s, SyameiEdit1);
    form->addRow(u"2行目(&2)"_s, SyameiEdit2);
    form->addRow(u"登録番号(&R)"_s, RegistrationEdit);
    return box;
}

QWidget *TPrintLogoNameForm::buildAddressBox()
{
    auto *box = new QGroupBox(u"住所など"_s);
    const FontRow font = fontRow(true);
    AdressComBox = font.face;
    AdrBoldSpeedButton = font.bold;
    AdrItalicSpeedButton = font.italic;
    ComboBox2 = font.size;
    AdrMemo = new QPlainTextEdit;
    AdrMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    AdrMemo->setMinimumHeight(150);
    auto *layout = new QVBoxLayout(box);
    layout->addLayout(font.layout);
    layout->addWidget(new QLabel(u"8行まで印刷されます"_s));
    layout->addWidget(AdrMemo, 1);
    return box;
}

QWidget *TPrintLogoNameForm::buildPictureBox()
{
    auto *box = new QWidget;
    GazoChBox = new QCheckBox(u"画像ファイルを使用する"_s);
    GazoPanel = new QGroupBox;
    GazoFileEdit = new QLineEdit;
    GazoFileEdit->setReadOnly(true);
    auto *browseButton = new QPushButton(u"参照..."_s);
    connect(browseButton, &QPushButton::clicked, this, &TPrintLogoNameForm::browse);
    auto *grid = new QGridLayout(GazoPanel);
    grid->addWidget(GazoFileEdit, 0, 0, 1, 2);
    grid->addWidget(browseButton, 0, 2);
    const struct {
        const char16_t *label;
        QSlider **bar;
        QSpinBox **spin;
        int min, max;
    } rows[] = {{u"横位置", &TrBar2, &SpinFloatEdit2, 0, LogoSetting::CanvasWidth},
                {u"縦位置", &TrBar1, &SpinFloatEdit1, 0, LogoSetting::CanvasHeight},
                {u"幅", &TrBar4, &SpinFloatEdit4, 1, LogoSetting::CanvasWidth},
                {u"高さ", &TrBar3, &SpinFloatEdit3, 1, LogoSetting::CanvasHeight}};
    int r = 1;
    for (const auto &row : rows) {
        *row.bar = new QSlider(Qt::Horizontal);
        *row.spin = new QSpinBox;
        (*row.bar)->setRange(row.min, row.max);
        (*row.spin)->setRange(row.min, row.max);
        grid->addWidget(new QLabel(QString::fromUtf16(row.label)), r, 0);
        grid->addWidget(*row.bar, r, 1);
        grid->addWidget(*row.spin, r, 2);
        ++r;
    }
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GazoChBox);
    layout->addWidget(GazoPanel);
    return box;
}

void TPrintLogoNameForm::fill()
{
    filling_ = true;
    const LogoSetting s(lines_);
    NameComBox->setCurrentText(s.line(0));
    SMBoldSpeedButton->setChecked(s.line(1) == u"1" || s.line(1) == u"3");
    SMItalicSpeedButton->setChecked(s.line(1) == u"2" || s.line(1) == u"3");
    ComboBox1->setCurrentText(s.line(3));
    SyameiEdit1->setText(s.line(4));
    SyameiEdit2->setText(s.line(5));
    AdressComBox->setCurrentText(s.line(6));
    AdrBoldSpeedButton->setChecked(s.line(7) == u"1" || s.line(7) == u"3");
    AdrItalicSpeedButton->setChecked(s.line(7) == u"2" || s.line(7) == u"3");
    ComboBox2->setCurrentText(s.line(9));
    AdrMemo->setPlainText(lines_.mid(10, 8).join(u'\n'));
    RegistrationEdit->setText(s.registrationNumber());
    const bool picture = !s.pictureFile().isEmpty() && QFileInfo::exists(s.pictureFile());
    GazoChBox->setChecked(picture);
    GazoPanel->setVisible(picture);
    GazoFileEdit->setText(s.pictureFile());
    TrBar2->setValue(s.pictureLeft());
    TrBar1->setValue(s.pictureTop());
    TrBar4->setValue(s.pictureWidth());
    TrBar3->setValue(s.pictureHeight());
    for (auto [bar, spin] : {std::pair{TrBar1, SpinFloatEdit1}, std::pair{TrBar2, SpinFloatEdit2},
                             std::pair{TrBar3, SpinFloatEdit3}, std::pair{TrBar4, SpinFloatEdit4}})
        spin->setValue(bar->value());
    filling_ = false;
}

void TPrintLogoNameForm::connectAll()
{
    connect(NameComBox, &QComboBox::currentTextChanged, this, [this] { storeFace(0, NameComBox); });
    connect(AdressComBox, &QComboBox::currentTextChanged, this, [this] { storeFace(6, AdressComBox); });
    connect(SMBoldSpeedButton, &QToolButton::toggled, this,
            [this] { storeStyle(1, SMBoldSpeedButton, SMItalicSpeedButton); });
    connect(SMItalicSpeedButton, &QToolButton::toggled, this,
            [this] { storeStyle(1, SMBoldSpeedButton, SMItalicSpeedButton); });
    connect(AdrBoldSpeedButton, &QToolButton::toggled, this,
            [this] { storeStyle(7, AdrBoldSpeedButton, AdrItalicSpeedButton); });
    connect(AdrItalicSpeedButton, &QToolButton::toggled, this,
            [this] { storeStyle(7, AdrBoldSpeedButton, AdrItalicSpeedButton); });
    connect(ComboBox1, &QComboBox::currentTextChanged, this, [this](const QString &t) { store(3, t); });
    connect(ComboBox2, &QComboBox::currentTextChanged, this, [this](const QString &t) { store(9, t); });
    connect(SyameiEdit1, &QLineEdit::textChanged, this, [this](const QString &t) { store(4, t); });
    connect(SyameiEdit2, &QLineEdit::textChanged, this, [this](const QString &t) { store(5, t); });
    connect(AdrMemo, &QPlainTextEdit::textChanged, this, &TPrintLogoNameForm::storeMemo);
    connect(GazoChBox, &QCheckBox::toggled, this, [this](bool on) {
        GazoPanel->setVisible(on);
        store(18, on ? GazoFileEdit->text() : QString());
    });
    const struct {
        QSlider *bar;
        QSpinBox *spin;
        int line;
    } pairs[] = {{TrBar2, SpinFloatEdit2, 19},
                 {TrBar1, SpinFloatEdit1, 20},
                 {TrBar4, SpinFloatEdit4, 21},
                 {TrBar3, SpinFloatEdit3, 22}};
    for (const auto &p : pairs) {
        connect(p.spin, &QSpinBox::valueChanged, p.bar, &QSlider::setValue);
        connect(p.bar, &QSlider::valueChanged, this, [this, p](int value) {
            p.spin->setValue(value);
            store(p.line, QString::number(value));
        });
    }
}

void TPrintLogoNameForm::store(int line, const QString &value)
{
    if (filling_)
        return;
    while (lines_.size() < LogoSetting::LineCount)
        lines_ << QString();
    if (lines_[line] == value)
        return;
    lines_[line] = value;
    render();
}

void TPrintLogoNameForm::storeStyle(int line, const QToolButton *bold, const QToolButton *italic)
{
    store(line, QString::number((bold->isChecked() ? 1 : 0) + (italic->isChecked() ? 2 : 0)));
}

void TPrintLogoNameForm::storeFace(int line, const QComboBox *box)
{
    // A half-typed name is no face: only an entry of the list is taken.
    if (box->findText(box->currentText(), Qt::MatchExactly) >= 0)
        store(line, box->currentText());
}

void TPrintLogoNameForm::storeMemo()
{
    if (filling_)
        return;
    const QStringList memo = AdrMemo->toPlainText().split(u'\n');
    bool changed = false;
    for (int i = 0; i < 8; ++i) {
        const QString text = memo.value(i);
        if (lines_[10 + i] != text) {
            lines_[10 + i] = text;
            changed = true;
        }
    }
    if (changed)
        render();
}

void TPrintLogoNameForm::browse()
{
    const QString chosen = choosePicture ? choosePicture() : QString();
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return;
    GazoFileEdit->setText(chosen);
    if (GazoChBox->isChecked())
        store(18, chosen);
}

void TPrintLogoNameForm::render()
{
    Image1->setPixmap(QPixmap::fromImage(LogoPreview::render(LogoSetting(lines_))));
}

void TPrintLogoNameForm::accept()
{
    const QString number = RegistrationNumber::normalise(RegistrationEdit->text());
    if (!number.isEmpty() && !RegistrationNumber::isValid(number))
        messages_.show(MessageService::Kind::Warning, RegistrationNumber::checkWarning());
    LogoSetting s(lines_);
    s.setRegistrationNumber(number);
    lines_ = s.lines();
    QDialog::accept();
}
