#include "TOptionForm.h"

#include "TDispFrame.h"

#include "master/widgets/TCarFrame.h"
#include "master/widgets/TFrame1.h"
#include "master/widgets/TMasterFrame.h"
#include "master/widgets/TMemoOptFrame.h"
#include "master/widgets/TTaxGridFrame.h"
#include "master/widgets/TZipOptFrame.h"
#include "platform/AppFolder.h"
#include "platform/MessageService.h"
#include "print/widgets/TDefPrintFrame.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

struct Node {
    const char16_t *text;
    int level;
};

// The tree in its order. Which page a node shows is decided by pageOf alone.
const Node Nodes[] = {
    {u"基本設定", 0},   {u"印刷設定", 0},       {u"郵便番号辞書", 0}, {u"挨拶文・備考欄", 0},
    {u"ガイド機能", 0}, {u"メーカー・車名", 1}, {u"諸費用", 1},       {u"担当者", 1},
    {u"自賠責", 1},     {u"重量税", 1},         {u"整備・部品名", 1}, {u"作業名", 1},
};

} // namespace

TOptionForm::TOptionForm(const QString &appDir, const QString &settingsPath, MessageService &messages,
                         QWidget *parent)
    : QDialog(parent), messages_(messages)
{
    setWindowTitle(u"オプション設定"_s);
    setFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));

    TreeView1 = new QTreeWidget;
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setFixedWidth(170);
    auto *treeLabel = new QLabel(u"設定の対象(&L)"_s);
    treeLabel->setBuddy(TreeView1);

    Pages = new QStackedWidget;
    blank_ = new QWidget;
    Pages->addWidget(blank_);
    DispFrame1 = new TDispFrame(appDir, settingsPath, messages);
    DefPrintFrame1 = new TDefPrintFrame(appDir, messages);
    MemoOptFrame1 = new TMemoOptFrame(AppFolder(appDir).memoOptionsFile());
    TaxGridFrame1 = new TTaxGridFrame(appDir, messages);
    Frame11 = new TFrame1(appDir, messages);
    Frame11->SetEditMode(true);
    ZipOptFrame1 = new TZipOptFrame(appDir, messages);
    CarFrame1 = new TCarFrame(AppFolder(appDir), messages);
    MasterFrame1 = new TMasterFrame(AppFolder(appDir), messages);
    for (QWidget *page :
         std::initializer_list<QWidget *>{DispFrame1, DefPrintFrame1, MemoOptFrame1, TaxGridFrame1, Frame11,
                                          ZipOptFrame1, CarFrame1, MasterFrame1})
        Pages->addWidget(page);
    // All pages start hidden: the tree gets no current node until the user
    // picks one (a focused tree would make its first node current).
    Pages->setCurrentWidget(blank_);

    Button1 = new QPushButton(u"OK"_s);
    Button1->setDefault(true);
    Button2 = new QPushButton(u"キャンセル"_s);
    Button3 = new QPushButton(u"ヘルプ(&H)"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);

    auto *left = new QVBoxLayout;
    left->addWidget(treeLabel);
    left->addWidget(TreeView1, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(Pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(820, 560);

    buildTree();
    Button1->setFocus();
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { showPageOf(current); });
    connect(Button1, &QPushButton::clicked, this, &TOptionForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    // A group node without a page of its own, or no node at all, asks for
    // the dialog's own topic.
    connect(Button3, &QPushButton::clicked, this, [this] {
        const QTreeWidgetItem *item = TreeView1->currentItem();
        const Page page = item ? pageOf(item->text(0), item->parent() ? 1 : 0) : Page::None;
        Q_EMIT helpRequested(helpTopic(pageWidget(page) ? page : Page::None));
    });
}

TOptionForm::~TOptionForm() = default;

void TOptionForm::buildTree()
{
    QTreeWidgetItem *group = nullptr;
    for (const Node &node : Nodes) {
        const QString text = QString::fromUtf16(node.text);
        const Page page = pageOf(text, node.level);
        if (page != Page::None && !pageWidget(page))
            continue;
        if (node.level == 0) {
            group = new QTreeWidgetItem(TreeView1, {text});
        } else if (group) {
            new QTreeWidgetItem(group, {text});
        }
    }
    TreeView1->expandAll();
}

TOptionForm::Page TOptionForm::pageOf(const QString &text, int level)
{
    if (level == 0) {
        if (text == u"基本設定")
            return Page::Display;
        if (text == u"印刷設定")
            return Page::Print;
        if (text == u"郵便番号辞書")
            return Page::Zip;
        if (text == u"挨拶文・備考欄")
            return Page::Memo;
        return Page::None;
    }
    if (text == u"メーカー・車名")
        return Page::Car;
    if (text == u"自賠責" || text == u"重量税")
        return Page::TaxTable;
    if (text == u"整備・部品名")
        return Page::Items;
    return Page::MasterList;
}

int TOptionForm::helpTopic(Page page)
{
    switch (page) {
    case Page::Display:
        return 25;
    case Page::Print:
        return 26;
    case Page::Zip:
        return 27;
    case Page::Car:
    case Page::MasterList:
        return 28;
    case Page::TaxTable:
        return 37;
    case Page::Items:
        return 23;
    case Page::Memo:
        return 44;
    case Page::None:
        break;
    }
    return 24;
}

QWidget *TOptionForm::pageWidget(Page page) const
{
    switch (page) {
    case Page::Display:
        return DispFrame1;
    case Page::Print:
        return DefPrintFrame1;
    case Page::Memo:
        return MemoOptFrame1;
    case Page::TaxTable:
        return TaxGridFrame1;
    case Page::Items:
        return Frame11;
    case Page::Zip:
        return ZipOptFrame1;
    case Page::Car:
        return CarFrame1;
    case Page::MasterList:
        return MasterFrame1;
    case Page::None:
        break;
    }
    return nullptr;
}

QWidget *TOptionForm::currentPage() const
{
    return Pages->currentWidget() == blank_ ? nullptr : Pages->currentWidget();
}

bool TOptionForm::selectNode(const QString &text)
{
    const QList<QTreeWidgetItem *> found = TreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        return false;
    TreeView1->setCurrentItem(found.first());
    return true;
}

void TOptionForm::showPageOf(QTreeWidgetItem *item)
{
    Pages->setCurrentWidget(blank_);
    if (!item)
        return;
    const QString text = item->text(0);
    const Page page = pageOf(text, item->parent() ? 1 : 0);
    QWidget *widget = pageWidget(page);
    if (!widget)
        return;
    if (page == Page::TaxTable) {
        TaxGridFrame1->SetTableKind(text == u"自賠責" ? 1 : 2);
        TaxGridFrame1->SetEditing(true);
    }
    if (page == Page::MasterList)
        MasterFrame1->ShowList(text);
    Pages->setCurrentWidget(widget);
}

void TOptionForm::showFailure(const QString &error)
{
    messages_.show(MessageService::Kind::Error, error);
}

void TOptionForm::Button1Click()
{
    // A page that cannot be written keeps the dialog open, so nothing typed
    // is lost.
    QString error;
    if (!DefPrintFrame1->SaveDefaults(&error))
        return showFailure(error);
    if (!DispFrame1->SaveDisplayOptions(&error))
        return showFailure(error);
    if (!Frame11->SaveAll())
        return; // the frame has told the user
    if (!MemoOptFrame1->SaveMemoOptions(&error))
        return showFailure(error);
    accept();
}

void TOptionForm::done(int result)
{
    if (DispFrame1->IsDisplayModified()) {
        switch (messages_.ask(u"設定が変更されています\r保存しますか？"_s, true)) {
        case MessageService::Answer::Yes: {
            QString error;
            if (!DispFrame1->SaveDisplayOptions(&error))
                return showFailure(error);
            break;
        }
        case MessageService::Answer::Cancel:
            return;
        default:
            break;
        }
    }
    QDialog::done(result);
}
