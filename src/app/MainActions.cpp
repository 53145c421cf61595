// The commands of the main window: actions, menus, toolbar and the centre.
#include "ItemPanel.h"
#include "RecentFiles.h"
#include "TMainForm.h"

#include "master/widgets/TFrame1.h"
#include "platform/MessageService.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct ActionSpec {
    const char *name;
    const char *caption;
    const char *hint; // nullptr: the caption
};

const ActionSpec Actions[] = {
    {"NewAction", "新規作成(&N)", "新規の伝票を作成します"},
    {"OpenAction", "開く(&O)...", "既存の伝票を開きます"},
    {"SaveAction", "上書き保存(&S)", "現在の内容をファイルに上書き保存します"},
    {"SaveAsAction", "名前をつけて保存(&A)...", "現在の内容を別のファイル名で保存します"},
    {"OpenTmpAction", "テンプレート選択(&T)", "保存済みテンプレートを選択します"},
    {"SaveTmpAction", "テンプレートとして保存(&E)", "現在の内容をテンプレートとして保存します"},
    {"PrintAction", "印刷(&P)...", "現在の内容を印刷します"},
    {"PreviewAction", "印刷プレビュー(&V)", "印刷イメージの表示"},
    {"PdfAction", "PDFに保存(&D)...", "現在の内容をPDFファイルに保存します"},
    {"PrintSetupAction", "プリンタ設定(&R)...", "プリンタ設定"},
    {"ExitAction", "終了(&X)", "アプリケーションの終了"},
    {"UndoAction", "前回保存時の状態に戻す(&U)", nullptr},
    {"OptionAction", "オプション設定(&K)...", nullptr},
    {"BackupAction", "データのバックアップ(&B)", "マスタと設定をバックアップします"},
    {"RestoreAction", "バックアップから復元(&R)...", "バックアップからマスタと設定を復元します"},
    {"ToolWinAction", "検索ウィンドウを開く(&O)", nullptr},
    {"SecOpenAction", "すべてのセクションを開く(&A)", nullptr},
    {"SecCloseAction", "すべてのセクションを閉じる(&C)", nullptr},
    {"HelpIndexAction", "目次(&C)", "ヘルプの目次を表示します"},
    {"HelpTopicAction", "トピックの検索(&S)", "ヘルプトピックを検索します"},
    {"N5", "チュートリアル(&G)", nullptr},
    {"N6", "最新情報(&H)", nullptr},
    {"About1", "バージョン情報(&A)...", "バージョン情報の表示"},
};

// "開く(&O)..." gives "開く": the accelerator in brackets at the end, with
// the dots after it. Plain code: a regular expression here costs the start
// of every window its compilation.
QString withoutAccelerator(const QString &caption)
{
    const qsizetype end = caption.endsWith(u"..."_s) ? caption.size() - 3 : caption.size();
    if (end >= 4 && caption.at(end - 4) == u'(' && caption.at(end - 3) == u'&' && caption.at(end - 1) == u')')
        return caption.left(end - 4);
    return caption;
}

} // namespace

QAction *TMainForm::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void TMainForm::buildActions()
{
    for (const ActionSpec &spec : Actions) {
        auto *a = new QAction(QString::fromUtf8(spec.caption), this);
        a->setObjectName(QString::fromUtf8(spec.name));
        // A hint that repeats the caption drops its accelerator and dots.
        const QString hint = withoutAccelerator(QString::fromUtf8(spec.hint ? spec.hint : spec.caption));
        a->setStatusTip(hint);
        a->setToolTip(hint);
        // Connected first, so it runs before the command: a menu or toolbar
        // command never takes focus from the grid, and must still see what
        // was just typed there.
        connect(a, &QAction::triggered, SlipFrame1, &TSlipFrame::commitEdits);
    }
    action(u"NewAction"_s)->setShortcut(QKeySequence::New);
    action(u"OpenAction"_s)->setShortcut(QKeySequence::Open);
    action(u"SaveAction"_s)->setShortcut(QKeySequence::Save);
    action(u"ToolWinAction"_s)->setCheckable(true);
    action(u"ToolWinAction"_s)->setChecked(true);

    connect(action(u"NewAction"_s), &QAction::triggered, this, &TMainForm::NewActionExecute);
    connect(action(u"OpenAction"_s), &QAction::triggered, this, &TMainForm::OpenActionExecute);
    connect(action(u"SaveAction"_s), &QAction::triggered, this, [this] { SaveActionExecute(); });
    connect(action(u"SaveAsAction"_s), &QAction::triggered, this, [this] { SaveAsActionExecute(); });
    connect(action(u"ExitAction"_s), &QAction::triggered, this, &QWidget::close);
    connect(action(u"UndoAction"_s), &QAction::triggered, this, &TMainForm::UndoActionExecute);
    connect(action(u"OpenTmpAction"_s), &QAction::triggered, this, &TMainForm::OpenTmpActionExecute);
    connect(action(u"SaveTmpAction"_s), &QAction::triggered, this, &TMainForm::SaveTmpActionExecute);
    connect(action(u"PrintAction"_s), &QAction::triggered, this, &TMainForm::PrintActionExecute);
    connect(action(u"PreviewAction"_s), &QAction::triggered, this, &TMainForm::PreviewActionExecute);
    connect(action(u"PrintSetupAction"_s), &QAction::triggered, this, &TMainForm::PrintSetupActionExecute);
    connect(action(u"PdfAction"_s), &QAction::triggered, this, &TMainForm::PdfActionExecute);
    connect(action(u"OptionAction"_s), &QAction::triggered, this, &TMainForm::OptionActionExecute);
    connect(action(u"BackupAction"_s), &QAction::triggered, this, &TMainForm::BackupActionExecute);
    connect(action(u"RestoreAction"_s), &QAction::triggered, this, &TMainForm::RestoreActionExecute);
    connect(action(u"SecOpenAction"_s), &QAction::triggered, SlipFrame1, &TSlipFrame::OpenAll);
    connect(action(u"SecCloseAction"_s), &QAction::triggered, SlipFrame1, &TSlipFrame::CloseAll);
    connect(action(u"ToolWinAction"_s), &QAction::toggled, this, &TMainForm::ToolWinActionExecute);
    connect(action(u"About1"_s), &QAction::triggered, this, [this] {
        QString text = u"Torvane バージョン %1\n自動車整備業向け 見積書・作業指示書・納品書の作成\n\n"
                       u"データフォルダ: %2"_s.arg(QApplication::applicationVersion(),
                                                   QDir::toNativeSeparators(env_.appDir));
        if (!env_.appDirSource.isEmpty())
            text += u"\n(%1)"_s.arg(env_.appDirSource);
        env_.messages->show(MessageService::Kind::Information, text);
    });
}

void TMainForm::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    const QStringList files = RecentFiles::read(env_.settingsPath);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString file = files.at(i);
        QAction *a = menu->addAction(
            u"&%1 %2"_s.arg(i + 1).arg(QDir::toNativeSeparators(file).replace(u'&', u"&&"_s)));
        a->setStatusTip(QDir::toNativeSeparators(file));
        connect(a, &QAction::triggered, this, [this, file] { openFile(file); });
    }
    if (files.isEmpty())
        menu->addAction(u"(なし)"_s)->setEnabled(false);
}

void TMainForm::buildMenus()
{
    auto add = [this](QMenu *menu, const char *name) { menu->addAction(action(QString::fromUtf8(name))); };
    QMenu *file = menuBar()->addMenu(u"ファイル(&F)"_s);
    for (const char *n : {"NewAction", "OpenAction", "SaveAction", "SaveAsAction"})
        add(file, n);
    // Filled each time it opens: other processes add to the list too.
    QMenu *recent = file->addMenu(u"最近使ったファイル(&R)"_s);
    recent->setObjectName(u"RecentMenu"_s);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
    file->addSeparator();
    add(file, "OpenTmpAction");
    add(file, "SaveTmpAction");
    file->addSeparator();
    for (const char *n : {"PrintAction", "PreviewAction", "PdfAction", "PrintSetupAction"})
        add(file, n);
    file->addSeparator();
    add(file, "ExitAction");

    QMenu *edit = menuBar()->addMenu(u"編集(&E)"_s);
    add(edit, "UndoAction");
    edit->addSeparator();
    add(edit, "OptionAction");
    edit->addSeparator();
    add(edit, "BackupAction");
    add(edit, "RestoreAction");

    QMenu *view = menuBar()->addMenu(u"表示(&V)"_s);
    // "O1" shows the search window toggle under its own caption.
    auto *o1 = new QAction(u"検索ウィンドウ表示切り替え(&O)"_s, this);
    o1->setObjectName(u"O1"_s);
    o1->setCheckable(true);
    o1->setChecked(true);
    o1->setStatusTip(u"検索ウィンドウ表示切り替え"_s);
    connect(o1, &QAction::triggered, action(u"ToolWinAction"_s), &QAction::setChecked);
    connect(action(u"ToolWinAction"_s), &QAction::changed, o1,
            [this, o1] { o1->setChecked(action(u"ToolWinAction"_s)->isChecked()); });
    view->addAction(o1);
    view->addSeparator();
    add(view, "SecOpenAction");
    add(view, "SecCloseAction");

    QMenu *help = menuBar()->addMenu(u"ヘルプ(&H)"_s);
    add(help, "HelpIndexAction");
    add(help, "HelpTopicAction");
    add(help, "N5");
    help->addSeparator();
    add(help, "N6");
    help->addSeparator();
    add(help, "About1");
}

void TMainForm::buildToolBar()
{
    ToolBar1 = addToolBar(u"ツールバー"_s);
    ToolBar1->setObjectName(u"ToolBar1"_s);
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QList<QList<const char *>> groups = {{"NewAction", "OpenAction", "SaveAction"},
                                               {"OpenTmpAction", "SaveTmpAction"},
                                               {"UndoAction", "OptionAction"},
                                               {"PrintAction", "PreviewAction", "PrintSetupAction"},
                                               {"ToolWinAction", "SecOpenAction", "SecCloseAction"},
                                               {"About1"}};
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (g > 0)
            ToolBar1->addSeparator();
        for (const char *name : groups.at(g))
            ToolBar1->addAction(action(QString::fromUtf8(name)));
    }
    // Short captions keep the bar compact; the hint stays the full text.
    const QList<std::pair<const char *, const char *>> shortCaptions = {{"NewAction", "新規"},
                                                                        {"OpenAction", "開く"},
                                                                        {"SaveAction", "保存"},
                                                                        {"OpenTmpAction", "テンプレート"},
                                                                        {"SaveTmpAction", "テンプレート保存"},
                                                                        {"UndoAction", "元に戻す"},
                                                                        {"OptionAction", "オプション"},
                                                                        {"PrintAction", "印刷"},
                                                                        {"PreviewAction", "プレビュー"},
                                                                        {"PrintSetupAction", "プリンタ"},
                                                                        {"ToolWinAction", "検索"},
                                                                        {"SecOpenAction", "全て開く"},
                                                                        {"SecCloseAction", "全て閉じる"},
                                                                        {"About1", "情報"}};
    for (const auto &[name, text] : shortCaptions) {
        if (auto *button =
                qobject_cast<QToolButton *>(ToolBar1->widgetForAction(action(QString::fromUtf8(name))))) {
            button->setText(QString::fromUtf8(text));
            if (qstrcmp(name, "ToolWinAction") == 0)
                button->setObjectName(u"ToolButton20"_s);
        }
    }
}

void TMainForm::buildCentre()
{
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(u"Splitter1"_s);
    Splitter1->setChildrenCollapsible(false);
    ItemPanel_ = new ItemPanel(Splitter1);
    SlipFrame1 =
        new TSlipFrame(env_.appDir, *env_.messages, Splitter1,
                       env_.deferSlipBodies ? TSlipFrame::Bodies::AfterFirstPaint : TSlipFrame::Bodies::Now);
    SlipFrame1->setObjectName(u"SlipFrame1"_s);
    Splitter1->addWidget(ItemPanel_);
    Splitter1->addWidget(SlipFrame1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ItemPanel::DefaultWidth, 900});
    setCentralWidget(Splitter1);

    connect(ItemPanel_->closeButton(), &QToolButton::clicked, this,
            [this] { action(u"ToolWinAction"_s)->setChecked(false); });
    connect(ItemPanel_->rightButton(), &QToolButton::clicked, this, [this] { placePanel(true); });
    connect(ItemPanel_->leftButton(), &QToolButton::clicked, this, [this] { placePanel(false); });
    connect(ItemPanel_->editButton(), &QPushButton::clicked, this, [this] { setEditMode(!editMode_); });

    Frame11 = new TFrame1(env_.appDir, *env_.messages, ItemPanel_);
    Frame11->setNameHints(true);
    ItemPanel_->contentLayout()->addWidget(Frame11);
    connect(ItemPanel_->addButton(), &QPushButton::clicked, this, &TMainForm::AddButtonClick);
    connect(Frame11, &TFrame1::itemChosen, this, &TMainForm::AddButtonClick);
    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setObjectName(u"FindShortcut"_s);
    connect(find, &QShortcut::activated, this, &TMainForm::focusItemSearch);
}
