#include "HelpViewer.h"

#include "HelpTopics.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

HelpViewer::HelpViewer(const QString &folder, QWidget *parent) : QWidget(parent, Qt::Window), folder_(folder)
{
    setObjectName(u"HelpViewer"_s);
    setWindowTitle(u"Torvane ヘルプ"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);

    Browser = new QTextBrowser;
    Browser->setObjectName(u"Browser"_s);
    Browser->setSearchPaths({folder_});
    // Links out of the help (the project page) open in the desktop's browser.
    Browser->setOpenExternalLinks(true);

    Bar = new QToolBar;
    Bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction *back = Bar->addAction(u"← 戻る"_s, Browser, &QTextBrowser::backward);
    back->setObjectName(u"BackAction"_s);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction *forward = Bar->addAction(u"進む →"_s, Browser, &QTextBrowser::forward);
    forward->setObjectName(u"ForwardAction"_s);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    Bar->addSeparator();
    Bar->addAction(u"目次"_s, this, &HelpViewer::showContents)->setObjectName(u"ContentsAction"_s);
    Bar->addAction(u"検索"_s, this, [this] { showSearch(); })->setObjectName(u"SearchAction"_s);
    connect(Browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = Browser->documentTitle();
        setWindowTitle(title.isEmpty() ? u"Torvane ヘルプ"_s : title + u" - Torvane ヘルプ"_s);
    });

    SearchPanel = new QWidget;
    auto *label = new QLabel(u"キーワード(&K):"_s);
    SearchEdit = new QLineEdit;
    SearchEdit->setObjectName(u"SearchEdit"_s);
    SearchEdit->setClearButtonEnabled(true);
    label->setBuddy(SearchEdit);
    auto *go = new QPushButton(u"検索(&S)"_s);
    HitList = new QListWidget;
    HitList->setObjectName(u"HitList"_s);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(SearchEdit, 1);
    searchRow->addWidget(go);
    auto *panelLayout = new QVBoxLayout(SearchPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(label);
    panelLayout->addLayout(searchRow);
    panelLayout->addWidget(HitList, 1);
    SearchPanel->hide();
    connect(SearchEdit, &QLineEdit::returnPressed, this, &HelpViewer::runSearch);
    connect(go, &QPushButton::clicked, this, &HelpViewer::runSearch);
    connect(HitList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item && item->data(Qt::UserRole).isValid())
            showPage(item->data(Qt::UserRole).toString());
    });

    Split = new QSplitter(Qt::Horizontal);
    auto *split = Split;
    split->addWidget(SearchPanel);
    split->addWidget(Browser);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Bar);
    layout->addWidget(split, 1);
    resize(860, 640);
}

void HelpViewer::showPage(const QString &page)
{
    QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(page.section(u'#', 0, 0)));
    const QString anchor = page.section(u'#', 1);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    Browser->setSource(url);
    present();
}

void HelpViewer::showContents()
{
    showPage(QString::fromUtf16(HelpTopics::IndexPage));
}

void HelpViewer::showTopic(int topic)
{
    const QString page = HelpTopics::pageOf(topic);
    if (page.isEmpty())
        showContents();
    else
        showPage(page);
}

void HelpViewer::showSearch(const QString &words)
{
    if (SearchPanel->isHidden()) {
        SearchPanel->show();
        Split->setSizes({240, qMax(400, width() - 240)});
    }
    if (!words.isEmpty()) {
        SearchEdit->setText(words);
        runSearch();
    }
    if (Browser->source().isEmpty())
        showContents();
    present();
    SearchEdit->setFocus();
    SearchEdit->selectAll();
}

void HelpViewer::runSearch()
{
    HitList->clear();
    const QList<HelpTopics::Hit> hits = HelpTopics::search(folder_, SearchEdit->text());
    if (hits.isEmpty()) {
        if (!SearchEdit->text().trimmed().isEmpty())
            new QListWidgetItem(u"見つかりませんでした"_s, HitList);
        return;
    }
    for (const HelpTopics::Hit &hit : hits) {
        auto *item = new QListWidgetItem(hit.title.isEmpty() ? hit.page : hit.title, HitList);
        item->setData(Qt::UserRole, hit.page);
    }
    HitList->setCurrentRow(0);
}

void HelpViewer::present()
{
    show();
    raise();
    activateWindow();
}
