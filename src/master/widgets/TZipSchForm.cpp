#include "TZipSchForm.h"

#include "controls/widgets/HelpButton.h"
#include "master/ZipSearch.h"
#include "platform/AppFolder.h"
#include "platform/MessageService.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString SearchCaption = u"検索(&A)"_s;
const QString StopCaption = u"検索中止(&A)"_s;
const QString AgainCaption = u"再検索(&A)"_s;

} // namespace

TZipSchForm::TZipSchForm(const QString &appDir, MessageService &messages, QWidget *parent)
    : QDialog(parent), appDir_(appDir), messages_(messages)
{
    setObjectName(u"ZipSchForm"_s);
    setWindowTitle(u"郵便番号検索"_s);
    dictionaries_ = ZipDictionary::usable(AppFolder(appDir));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->installEventFilter(this);
    auto *keywordLabel = new QLabel(u"キーワード(&K)"_s, this);
    keywordLabel->setBuddy(Edit1);
    Button3 = new QPushButton(SearchCaption, this);
    Button3->setObjectName(u"Button3"_s);
    Button3->setAutoDefault(false);
    connect(Button3, &QPushButton::clicked, this, &TZipSchForm::Button3Click);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(u"ListView1"_s);
    ListView1->setHeaderLabels({u"郵便番号"_s, u"都道府県"_s, u"住所"_s});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setColumnWidth(0, 100);
    ListView1->setColumnWidth(1, 80);
    ListView1->setColumnWidth(2, 210);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TZipSchForm::selectionChanged);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!searching_ && !selected_.code.isEmpty())
            accept();
    });

    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    Label3 = new QLabel(this);
    Label3->setObjectName(u"Label3"_s);

    auto *buttons = new QDialogButtonBox(this);
    Button2 = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    Button2->setObjectName(u"Button2"_s);
    Button2->setDefault(true);
    Button2->setEnabled(false);
    Button1 = buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    Button1->setObjectName(u"Button1"_s);
    Button1->setEnabled(false);
    Button4 = buttons->addButton(u"ヘルプ(&H)"_s, QDialogButtonBox::HelpRole);
    Button4->setObjectName(u"Button4"_s);
    connectHelpButton(Button4, 27);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *keyRow = new QHBoxLayout;
    keyRow->addWidget(keywordLabel);
    keyRow->addWidget(Edit1, 1);
    keyRow->addWidget(Button3);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(Label1, 1);
    statusRow->addWidget(Label3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(keyRow);
    layout->addWidget(ListView1, 1);
    layout->addLayout(statusRow);
    layout->addWidget(buttons);
    resize(460, 380);
}

void TZipSchForm::setKeyword(const QString &keyword)
{
    preset_ = keyword;
    Edit1->setText(keyword);
}

void TZipSchForm::Button3Click()
{
    if (searching_)
        stopRequested_ = true;
    else
        search(Edit1->text());
}

void TZipSchForm::done(int result)
{
    if (!searching_)
        QDialog::done(result);
}

bool TZipSchForm::event(QEvent *e)
{
    if (e->type() != QEvent::WindowActivate || searching_)
        return QDialog::event(e);
    const bool handled = QDialog::event(e);
    const bool first = !presetDone_;
    presetDone_ = true;
    if (first && !preset_.isEmpty()) {
        search(preset_);
    } else {
        Label1->setText(u"キーワードを入力してください"_s);
        Button1->setEnabled(true);
        Button3->setText(SearchCaption);
        Edit1->setFocus();
    }
    return handled;
}

bool TZipSchForm::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Edit1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button3Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TZipSchForm::selectionChanged()
{
    const QList<QTreeWidgetItem *> items = ListView1->selectedItems();
    if (items.isEmpty()) {
        selected_ = {};
    } else {
        const QTreeWidgetItem *item = items.first();
        selected_ = {item->text(0), item->text(1), item->text(2)};
    }
    Button2->setEnabled(!searching_ && !items.isEmpty());
}

void TZipSchForm::search(const QString &keyword)
{
    searching_ = true;
    stopRequested_ = false;
    Button2->setEnabled(false);
    Button1->setEnabled(false);
    Button3->setText(StopCaption);
    Button3->setFocus();
    ListView1->clear();

    const ZipSearch zip(keyword);
    const AppFolder folder(appDir_);
    QList<QTreeWidgetItem *> pending; // rows found since the window last took input
    QElapsedTimer sinceInput;
    sinceInput.start();
    const auto onMatch = [&pending](const ZipRecord &r) {
        pending.append(new QTreeWidgetItem(QStringList{r.code, r.prefecture, r.address}));
    };
    const auto onProgress = [&](qint64 lines) {
        // Handling input after every line would cost more than the search.
        if (sinceInput.elapsed() < inputIntervalMs_)
            return true;
        ListView1->addTopLevelItems(pending);
        pending.clear();
        Label1->setText(u"検索中..."_s + QString::number(lines));
        QCoreApplication::processEvents();
        sinceInput.restart();
        if (!stopRequested_)
            return true;
        stopRequested_ = false;
        const bool stop = messages_.ask(u"中止しますか?"_s) == MessageService::Answer::Yes;
        sinceInput.restart();
        return !stop;
    };
    for (const QString &name : std::as_const(dictionaries_)) {
        Label3->setText(name);
        // A dictionary that cannot be read is passed over.
        if (zip.searchFile(ZipDictionary::path(folder, name), onMatch, onProgress) ==
            ZipSearch::Outcome::Stopped)
            break;
    }
    ListView1->addTopLevelItems(pending);

    searching_ = false;
    Label3->clear();
    Label1->setText(u"検索終了 - %1 件"_s.arg(ListView1->topLevelItemCount()));
    Button1->setEnabled(true);
    Button2->setEnabled(!ListView1->selectedItems().isEmpty());
    Button3->setText(AgainCaption);
    if (ListView1->topLevelItemCount() == 0)
        Edit1->setFocus();
    else
        ListView1->setFocus();
}
