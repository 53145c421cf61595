#include "TDefPrintFrame.h"

#include "LogoPreview.h"
#include "TAutoLogoForm.h"
#include "TPrintLogoNameForm.h"
#include "TPrintOptionSaveForm.h"

#include "platform/AppFolder.h"
#include "platform/MessageService.h"
#include "platform/TextList.h"
#include "print/PrintFormat.h"
#include "print/PrintSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The rendered copy kept beside a named setting, for use outside the program.
QString renderedCopyOf(const AppFolder &folder, const QString &name)
{
    return AppFolder::findFile(folder.etcFolder(), name + u".png"_s);
}

} // namespace

TDefPrintFrame::TDefPrintFrame(const QString &appDir, MessageService &messages, QWidget *parent)
    : QWidget(parent), appDir_(appDir), messages_(messages)
{
    execDialog = [](QDialog &dialog) { return dialog.exec(); };
    const PrintSettings defaults = PrintSettings::load(appDir, QString());

    Label5 = new QLabel(u"これらの項目は、印刷直前に再設定可能です。"_s);

    StringGrid1 = new QTableWidget(4, 3);
    StringGrid1->setHorizontalHeaderLabels({u"見積書"_s, u"作業指示書"_s, u"納品請求書"_s});
    StringGrid1->setVerticalHeaderLabels({u" 1"_s, u" 2"_s, u" 3"_s, u" 4"_s});
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->verticalHeader()->setFixedWidth(24);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    StringGrid1->setWordWrap(false);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setFixedHeight(StringGrid1->horizontalHeader()->sizeHint().height() + 4 * 24 +
                                2 * StringGrid1->frameWidth());
    StringGrid1->setMinimumWidth(24 + 3 * 100);
    for (int kind = 0; kind < 3; ++kind) {
        StringGrid1->setColumnWidth(kind, 120);
        for (int copy = 0; copy < 4; ++copy)
            StringGrid1->setItem(copy, kind,
                                 new QTableWidgetItem(defaults.titles[size_t(kind)][size_t(copy)]));
    }
    auto *titles = new QGroupBox(u"伝票のタイトル(&T)"_s);
    (new QVBoxLayout(titles))->addWidget(StringGrid1);

    CheckListBox1 = new QListWidget;
    for (int copy = 0; copy < 4; ++copy) {
        auto *item = new QListWidgetItem(QString::number(copy + 1) + u"枚目"_s, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(defaults.copies[size_t(copy)] ? Qt::Checked : Qt::Unchecked);
    }
    CheckListBox1->setFixedWidth(110);
    auto *copies = new QGroupBox(u"複写(&C)"_s);
    (new QVBoxLayout(copies))->addWidget(CheckListBox1);

    QStringList formats;
    PrintFormat::ListPrintFormats(appDir, QString::fromUtf16(PrintFormat::SlipFormatType), formats);
    // The entry without a design says which design it stands for.
    const QString common =
        defaults.defaultFormat.isEmpty() ? u"(なし)"_s : u"(共通: "_s + defaults.defaultFormat + u')';
    auto *designs = new QGroupBox(u"伝票のデザイン"_s);
    auto *designLayout = new QFormLayout(designs);
    for (int kind = 0; kind < 3; ++kind) {
        QComboBox *box = new QComboBox;
        // A long design name must not push the titles off the page.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(10);
        box->addItem(common, QString());
        for (const QString &name : formats)
            box->addItem(name, name);
        // A name outside the list leaves the kind on the common default.
        const QString &chosen = defaults.kindFormats[size_t(kind)];
        box->setCurrentIndex(
            chosen.isEmpty() ? 0 : qMax(0, box->findData(chosen, Qt::UserRole, Qt::MatchFixedString)));
        FormatComBox[size_t(kind)] = box;
        designLayout->addRow(StringGrid1->horizontalHeaderItem(kind)->text(), box);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(titles, 1);
    top->addWidget(copies);
    top->addWidget(designs);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    layout->addLayout(top);
    layout->addWidget(buildLogoBlock(), 1);

    QString error;
    if (!LogoSetting::ensureDefaults(appDir, &error))
        messages_.show(MessageService::Kind::Error, error);
    loadLogoList(defaults.logoName);
}

QWidget *TDefPrintFrame::buildLogoBlock()
{
    auto *box = new QGroupBox(u"社名のデザイン(&L)"_s);
    JsComBox = new QComboBox;
    JsComBox->setMinimumWidth(200);
    Button1 = new QPushButton(u"自動生成(&A)..."_s);
    DelButton = new QPushButton(u"削除(&D)"_s);
    ModButton = new QPushButton(u"設定(&M)..."_s);
    SaveButton = new QPushButton(u"名前を付けて保存(&S)..."_s);
    SaveButton->setEnabled(false);
    auto *preview = new QGroupBox(u"プレビュー"_s);
    Image1 = new QLabel;
    Image1->setFixedSize(LogoSetting::CanvasWidth, LogoSetting::CanvasHeight);
    Image1->setStyleSheet(u"QLabel { background: white; }"_s);
    (new QVBoxLayout(preview))->addWidget(Image1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(JsComBox);
    buttons->addWidget(ModButton);
    buttons->addWidget(SaveButton);
    buttons->addWidget(DelButton);
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(box);
    layout->addLayout(buttons);
    layout->addWidget(preview);
    layout->addStretch();

    connect(JsComBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!changingList_)
            JsComBoxChange();
    });
    connect(ModButton, &QPushButton::clicked, this, &TDefPrintFrame::ModButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TDefPrintFrame::SaveButtonClick);
    connect(DelButton, &QPushButton::clicked, this, &TDefPrintFrame::DelButtonClick);
    connect(Button1, &QPushButton::clicked, this, &TDefPrintFrame::Button1Click);
    return box;
}

void TDefPrintFrame::loadLogoList(const QString &select)
{
    changingList_ = true;
    JsComBox->clear();
    JsComBox->addItems(LogoSetting::names(appDir_));
    JsComBox->setCurrentIndex(JsComBox->findText(select));
    changingList_ = false;
    if (JsComBox->currentIndex() >= 0) {
        JsComBoxChange();
    } else {
        setting_ = LogoSetting();
        Image1->clear();
    }
}

void TDefPrintFrame::showSetting(const LogoSetting &setting)
{
    setting_ = setting;
    Image1->setPixmap(QPixmap::fromImage(LogoPreview::render(setting_)));
}

void TDefPrintFrame::JsComBoxChange()
{
    const QString name = JsComBox->currentText();
    if (name.isEmpty())
        return;
    const QString path = AppFolder(appDir_).logoFile(name);
    if (!QFileInfo::exists(path))
        return;
    SaveButton->setEnabled(false);
    DelButton->setEnabled(true);
    showSetting(LogoSetting::load(path));
}

void TDefPrintFrame::ModButtonClick()
{
    const QString tmp = AppFolder(appDir_).etcFolder() + u"Tmp.dat"_s;
    QString error;
    QStringList lines = setting_.lines();
    while (lines.size() < LogoSetting::LineCount)
        lines << QString();
    if (!TextList::write(tmp, lines, &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return;
    }
    {
        TPrintLogoNameForm form(tmp, messages_, this);
        if (execDialog(form) == QDialog::Accepted && form.setting().lines() != setting_.lines()) {
            showSetting(form.setting());
            // The edited setting has no name until it is saved under one.
            changingList_ = true;
            JsComBox->setCurrentIndex(-1);
            changingList_ = false;
            SaveButton->setEnabled(true);
            DelButton->setEnabled(false);
        }
    }
    QFile::remove(tmp);
}

bool TDefPrintFrame::writeLogoList(QString *error)
{
    QStringList names;
    for (int i = 0; i < JsComBox->count(); ++i)
        names << JsComBox->itemText(i);
    return TextList::write(AppFolder(appDir_).logoListFile(), names, error);
}

void TDefPrintFrame::SaveButtonClick()
{
    TPrintOptionSaveForm form(LogoSetting::names(appDir_), this);
    if (execDialog(form) != QDialog::Accepted)
        return;
    const QString name = form.name();
    if (!acceptLogoName(name, messages_))
        return;
    const AppFolder folder(appDir_);
    if (QFileInfo::exists(folder.logoFile(name)) &&
        messages_.ask(u"上書きしますか?"_s) != MessageService::Answer::Yes)
        return;
    QString error;
    if (!LogoSetting::saveNamed(appDir_, name, setting_, &error)) {
        messages_.show(MessageService::Kind::Error, error);
        return;
    }
    // The rendered copy, at four times the preview's size so it prints sharp.
    const QString copy = renderedCopyOf(folder, name);
    if (!LogoPreview::render(setting_, 4).save(copy))
        messages_.show(MessageService::Kind::Warning,
                       QDir::toNativeSeparators(copy) + u" に書き込めません"_s);
    changingList_ = true;
    if (JsComBox->findText(name) < 0)
        JsComBox->addItem(name);
    JsComBox->setCurrentIndex(JsComBox->findText(name));
    changingList_ = false;
    if (!writeLogoList(&error))
        messages_.show(MessageService::Kind::Error, error);
    SaveButton->setEnabled(false);
    DelButton->setEnabled(true);
}

void TDefPrintFrame::DelButtonClick()
{
    const QString name = JsComBox->currentText();
    const int index = JsComBox->currentIndex();
    if (index < 0)
        return;
    if (name == LogoSetting::defaultName()) {
        messages_.show(MessageService::Kind::Information, u"デフォルト設定は削除できません"_s);
        return;
    }
    if (messages_.ask(name + u"を削除しますか？"_s) != MessageService::Answer::Yes)
        return;
    const AppFolder folder(appDir_);
    QFile::remove(folder.logoFile(name));
    QFile::remove(renderedCopyOf(folder, name));
    changingList_ = true;
    JsComBox->removeItem(index);
    JsComBox->setCurrentIndex(JsComBox->count() == 0 ? -1 : qMax(0, index - 1));
    changingList_ = false;
    QString error;
    if (!writeLogoList(&error))
        messages_.show(MessageService::Kind::Error, error);
    SaveButton->setEnabled(false);
    JsComBoxChange();
}

void TDefPrintFrame::Button1Click()
{
    TAutoLogoForm form(appDir_, messages_, this);
    if (execDialog(form) != QDialog::Accepted)
        return;
    loadLogoList(form.settingName());
}

bool TDefPrintFrame::SaveDefaults(QString *error)
{
    PrintSettings s = PrintSettings::load(appDir_, QString());
    for (int kind = 0; kind < 3; ++kind) {
        for (int copy = 0; copy < 4; ++copy) {
            const QTableWidgetItem *item = StringGrid1->item(copy, kind);
            s.titles[size_t(kind)][size_t(copy)] = item ? item->text() : QString();
        }
    }
    for (int copy = 0; copy < 4; ++copy)
        s.copies[size_t(copy)] = CheckListBox1->item(copy)->checkState() == Qt::Checked;
    // [Def] Fomat stays as it is: older files name their one design there.
    for (int kind = 0; kind < 3; ++kind)
        s.kindFormats[size_t(kind)] = FormatComBox[size_t(kind)]->currentData().toString();
    s.logoName = JsComBox->currentIndex() >= 0 ? JsComBox->currentText() : QString();
    return s.writeDefaults(appDir_, error);
}
