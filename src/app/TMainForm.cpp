#include "TMainForm.h"

#include "AutoRecovery.h"
#include "ItemPanel.h"
#include "RecentFiles.h"
#include "StrayFiles.h"
#include "TOptionForm.h"

#include "lines/widgets/TSlipGridFrame.h"
#include "master/widgets/TFrame1.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/DocumentLock.h"
#include "platform/HelpRequest.h"
#include "platform/IniFile.h"
#include "platform/MessageService.h"
#include "platform/TextList.h"
#include "platform/WindowRegistry.h"
#include "print/widgets/PrintRun.h"
#include "print/widgets/PrinterService.h"
#include "slip/Templates.h"
#include "slip/widgets/SlipSection.h"
#include "slip/widgets/TSlipFrame.h"
#include "slip/widgets/TTempSaveForm.h"
#include "slip/widgets/TTemplateForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString AppTitle = QStringLiteral("Torvane");

} // namespace

TMainForm::TMainForm(const TMainFormEnvironment &environment, QWidget *parent)
    : QMainWindow(parent), env_(environment)
{
    setObjectName(u"MainForm"_s);
    setMinimumSize(630, 250);
    resize(1240, 800);
    buildCentre();
    buildActions();
    buildMenus();
    buildToolBar();
    buildHelp();
    statusBar()->setObjectName(u"StatusBar1"_s);

    instancePrefix_ = QString::number(Clock::tickCount());
    PrinterService *printers = env_.printers;
    if (!printers) {
        ownPrinters_ = makeQtPrinterService();
        printers = ownPrinters_.get();
    }
    printRun_ = std::make_unique<PrintRun>(
        PrintRun::Context{env_.appDir, env_.settingsPath, instancePrefix_,
                          SlipFile::Context{SlipFrame1->categories(), QDate::currentDate()}},
        *printers, *env_.messages, this);
    reloadSettings(true);

    if (!env_.recoveryFolder.isEmpty()) {
        recovery_ = new AutoRecovery(
            SlipFrame1, env_.recoveryFolder, instancePrefix_, env_.recoveryIntervalMs,
            [this] { return currentFile_; }, this);
        // The grid's recompute after a typing pause runs first (the slip
        // frame's own connection), so the write sees its totals.
        connect(SlipFrame1, &TSlipFrame::gridChanged, recovery_, &AutoRecovery::changedSoon);
    }
    connect(SlipFrame1, &TSlipFrame::changed, this, &TMainForm::slipChanged);
    // An accelerator presses the bottom buttons without moving the focus:
    // what was just typed into the grid goes into the slip first.
    for (QPushButton *b : {SlipFrame1->printButton(), SlipFrame1->saveButton(), SlipFrame1->exitButton()})
        connect(b, &QPushButton::clicked, SlipFrame1, &TSlipFrame::commitEdits);
    connect(SlipFrame1->saveButton(), &QPushButton::clicked, this, [this] { SaveActionExecute(); });
    connect(SlipFrame1->exitButton(), &QPushButton::clicked, this, &QWidget::close);
    connect(SlipFrame1->printButton(), &QPushButton::clicked, action(u"PrintAction"_s), &QAction::trigger);
    connect(SlipFrame1, &TSlipFrame::searchWindowRequested, this, [this] { ToolWinActionExecute(true); });

    titleServer_ = new WindowTitleServer([this] { return windowTitle(); }, [this] { bringToFront(); }, this);
    // Other processes ask for the title only once this window is up; the
    // socket waits for the first paint so that it costs that paint nothing.
    afterFirstPaint([this] { titleServer_->listen(); });
}

TMainForm::~TMainForm()
{
    finish();
    HelpRequest::setHandler({});
    // QWidget's destructor still closes the window, and the focus leaving a
    // grid editor then stores its typing and reports a change: by then this
    // object is no main window any more, so the slip's reports end here.
    disconnect(SlipFrame1, nullptr, this, nullptr);
    disconnect(Frame11, nullptr, this, nullptr);
}

void TMainForm::afterFirstPaint(std::function<void()> task)
{
    afterPaint_.push_back(std::move(task));
    if (painted_ && afterPaint_.size() == 1)
        QTimer::singleShot(0, this, [this] { runAfterPaintTasks(); });
}

bool TMainForm::event(QEvent *event)
{
    const bool done = QMainWindow::event(event);
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        // Posted from the paint: it runs once the picture is on the screen.
        QTimer::singleShot(0, this, [this] { runAfterPaintTasks(); });
    }
    return done;
}

void TMainForm::runAfterPaintTasks()
{
    // A task may queue another one; it runs in this round too.
    for (size_t i = 0; i < afterPaint_.size(); ++i) {
        const std::function<void()> task = afterPaint_[i];
        task();
    }
    afterPaint_.clear();
}

QString TMainForm::titleFor(const QString &file, bool modified)
{
    QString title = file.isEmpty() ? QString(u"[新規] - "_s + AppTitle)
                                   : QString(QDir::toNativeSeparators(file) + u" - "_s + AppTitle);
    if (modified)
        title += u" <更新>"_s;
    return title;
}

QString TMainForm::proposedFileName(const QString &slipCode, QDate issueDate)
{
    return slipCode + issueDate.toString(u"-yy-MM-dd"_s) + u".tvx"_s;
}

QString TMainForm::snapshotPath() const
{
    return printRun_->snapshotPath();
}

void TMainForm::updateTitle()
{
    setWindowTitle(titleFor(currentFile_, SlipFrame1->isModified()));
}

void TMainForm::slipChanged()
{
    setWindowTitle(titleFor(currentFile_, true));
    if (recovery_)
        recovery_->changed();
}

bool TMainForm::start(const QString &argument)
{
    const QString slipFolder =
        argument.isEmpty() ? QString() : QFileInfo(QFileInfo(argument).absoluteFilePath()).absolutePath();
    // Only temporaries old enough that no save can own them go, so this
    // waits: the first paint needs none of it.
    afterFirstPaint([this, folders = QStringList{slipFolder, initialFolder_}] {
        StrayFiles::removeAtStart(env_.appDir, folders);
    });
    SlipFrame1->setNotify(false);
    if (!argument.isEmpty() && QFileInfo(argument).suffix() == u"tvr"_s && QFileInfo(argument).isFile()) {
        // A recovery file handed over by the process that offered it.
        DocumentLock::Claim claim = DocumentLock::take(QFileInfo(argument).absoluteFilePath());
        if (claim.state == DocumentLock::State::Taken) {
            SlipFrame1->setNotify(true);
            restoreRecovery(QFileInfo(argument).absoluteFilePath(), std::move(claim.lock));
            return true;
        }
    }
    if (!argument.isEmpty() && QFileInfo(argument).isFile() && QFileInfo(argument).suffix() != u"tvr"_s) {
        const QString path = QFileInfo(argument).absoluteFilePath();
        std::unique_ptr<QLockFile> lock;
        const Claim claim = claimSlip(path, &lock);
        if (claim == Claim::Refuse) {
            SlipFrame1->setNotify(true);
            return false;
        }
        if (loadFile(path, RecentNote::AfterFirstPaint)) {
            slipLock_ = std::move(lock);
            readOnly_ = claim == Claim::OpenReadOnly;
        }
    } else {
        currentFile_.clear();
        SlipFrame1->startNewSlip(QString::number(settings_.nextSlipNumber).rightJustified(8, u'0'),
                                 settings_.taxRate, settings_.rounding, settings_.taxCalcMode,
                                 QDate::currentDate());
        action(u"UndoAction"_s)->setEnabled(false);
    }
    SlipFrame1->setNotify(true);
    updateTitle();
    return true;
}

TMainForm::Claim TMainForm::claimSlip(const QString &path, std::unique_ptr<QLockFile> *lock)
{
    DocumentLock::Claim claim = DocumentLock::take(path);
    if (claim.state == DocumentLock::State::HeldElsewhere &&
        env_.messages->askWarning(
            u"このファイルは "_s + claim.holderHost +
            u" で開かれています\r同時に編集すると一方の変更が失われます。それでも開きますか？"_s))
        claim = DocumentLock::take(path, true);
    switch (claim.state) {
    case DocumentLock::State::Taken:
        *lock = std::move(claim.lock);
        return Claim::Open;
    case DocumentLock::State::HeldHere:
        // The process that shows it comes to the front instead.
        WindowRegistry::activateProcess(claim.holderPid);
        return Claim::Refuse;
    case DocumentLock::State::HeldElsewhere:
        return Claim::Refuse;
    case DocumentLock::State::Unavailable:
        env_.messages->show(
            MessageService::Kind::Information,
            QDir::toNativeSeparators(path) +
                u" は読み取り専用で開きます\r(このフォルダにはロックファイルを作れません: "_s + claim.reason +
                u')');
        return Claim::OpenReadOnly;
    }
    return Claim::Refuse;
}

void TMainForm::reloadSettings(bool startMode)
{
    settings_ = AppSettings::read(env_.settingsPath);
    SlipFrame1->setDateDisplay(settings_.eraDates);
    if (startMode)
        initialFolder_ = settings_.initialFolder;
    const AppFolder folder(env_.appDir);
    // The slip editor reads the division list when it is made; at start
    // that reading stands.
    if (!startMode)
        SlipFrame1->setSlipDivisions(TextList::read(folder.slipDivisionsFile()));
    SlipFrame1->setWorkNames(TextList::read(folder.workNamesFile()));
    if (!startMode)
        printRun_->reloadDefaults();
}

bool TMainForm::loadFile(const QString &path, RecentNote note)
{
    const IniFile ini(path);
    if (!ini.readable()) {
        env_.messages->show(MessageService::Kind::Error,
                            QDir::toNativeSeparators(path) + u" を読み込めません"_s);
        return false;
    }
    SlipFrame1->LoadSlip(ini, sstAll);
    currentFile_ = path;
    if (note == RecentNote::Now)
        noteRecent(path);
    else // a synced write of the settings file is nothing the first paint needs
        afterFirstPaint([this, path] { noteRecent(path); });
    action(u"UndoAction"_s)->setEnabled(true);
    return true;
}

QString TMainForm::proposedPdfPath() const
{
    if (!currentFile_.isEmpty()) {
        const QFileInfo file(currentFile_);
        return file.dir().filePath(file.completeBaseName() + u".pdf"_s);
    }
    const SlipData d = SlipFrame1->data();
    const QString name = QFileInfo(proposedFileName(d.slipCode, d.slipDate)).completeBaseName() + u".pdf"_s;
    return QDir(initialFolder_.isEmpty() ? QDir::homePath() : initialFolder_).filePath(name);
}

void TMainForm::noteRecent(const QString &path)
{
    // The list is a convenience: a settings file that cannot be written
    // costs the entry, not the user's attention on every open and save.
    RecentFiles::add(env_.settingsPath, path);
}

QString TMainForm::startFolder() const
{
    return currentFile_.isEmpty() ? initialFolder_ : currentFile_;
}

// ---- file commands ------------------------------------------------------------------

void TMainForm::NewActionExecute()
{
    if (env_.startProcess)
        env_.startProcess(env_.program, {});
}

void TMainForm::OpenActionExecute()
{
    const QString chosen = env_.chooseOpenFile ? env_.chooseOpenFile(startFolder()) : QString();
    if (!chosen.isEmpty())
        openFile(chosen);
}

void TMainForm::openFile(const QString &chosen)
{
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (path == currentFile_)
        return; // already shown here
    std::unique_ptr<QLockFile> lock;
    const Claim claim = claimSlip(path, &lock);
    if (claim == Claim::Refuse)
        return;
    if (SlipFrame1->isModified()) {
        // A process of its own takes the lock again.
        lock.reset();
        if (env_.startProcess)
            env_.startProcess(env_.program, {QDir::toNativeSeparators(path)});
        return;
    }
    SlipFrame1->setNotify(false);
    if (loadFile(path)) {
        slipLock_ = std::move(lock);
        readOnly_ = claim == Claim::OpenReadOnly;
    }
    SlipFrame1->setNotify(true);
    initialFolder_ = QFileInfo(path).absolutePath();
    updateTitle();
}

bool TMainForm::saveTo(const QString &path)
{
    // Saving under another name moves the lock: the new file's lock first,
    // so that a slip another window shows is never written over.
    std::unique_ptr<QLockFile> newLock;
    const bool moving = path != currentFile_;
    if (moving) {
        DocumentLock::Claim claim = DocumentLock::take(path);
        if (claim.state == DocumentLock::State::HeldHere ||
            claim.state == DocumentLock::State::HeldElsewhere) {
            const QString where =
                claim.state == DocumentLock::State::HeldHere ? u"ほかのウィンドウ"_s : claim.holderHost;
            env_.messages->show(MessageService::Kind::Error, QDir::toNativeSeparators(path) + u" は "_s +
                                                                 where +
                                                                 u" で開かれているため保存できません"_s);
            return false;
        }
        newLock = std::move(claim.lock);
    }
    IniFile ini(path);
    QString error;
    if (!SlipFrame1->SaveSlip(ini, sstAll, true, &error)) {
        env_.messages->show(MessageService::Kind::Error, error);
        return false;
    }
    if (moving) {
        slipLock_ = std::move(newLock);
        readOnly_ = false;
    }
    currentFile_ = path;
    initialFolder_ = QFileInfo(path).absolutePath();
    noteRecent(path);
    action(u"UndoAction"_s)->setEnabled(true);
    updateTitle();
    if (recovery_)
        recovery_->discard();
    return true;
}

bool TMainForm::SaveActionExecute()
{
    if (!currentFile_.isEmpty() && !readOnly_ && QFileInfo(currentFile_).isFile())
        return saveTo(currentFile_);
    return SaveAsActionExecute();
}

bool TMainForm::SaveAsActionExecute()
{
    QString start = currentFile_;
    if (start.isEmpty()) {
        const SlipData d = SlipFrame1->data();
        start = QDir(initialFolder_.isEmpty() ? QDir::homePath() : initialFolder_)
                    .filePath(proposedFileName(d.slipCode, d.slipDate));
    }
    QString chosen = env_.chooseSaveFile ? env_.chooseSaveFile(start) : QString();
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += u".tvx"_s;
    chosen = QFileInfo(chosen).absoluteFilePath();
    if (QFileInfo::exists(chosen) && env_.messages->ask(u"同名のファイルがあります\r上書きしますか？"_s,
                                                        false) != MessageService::Answer::Yes)
        return false;
    if (!saveTo(chosen))
        return false;
    QString error;
    if (!AppSettings::advanceSlipNumber(env_.settingsPath, SlipFrame1->data().slipCode, &error))
        env_.messages->show(MessageService::Kind::Error, error);
    return true;
}

void TMainForm::SaveTmpActionExecute()
{
    TTempSaveForm form(*env_.messages, this);
    if (form.exec() != QDialog::Accepted)
        return;
    const QString folder = AppFolder(env_.appDir).templateFolder();
    QDir().mkpath(folder);
    // The file name is a generated code, so no name the user types can
    // leave the folder or collide with another template.
    IniFile ini(Templates::newTemplatePath(folder));
    Templates::writeHeader(ini, form.category(), form.name());
    QString error;
    if (!SlipFrame1->SaveSlip(ini, form.category(), false, &error))
        env_.messages->show(MessageService::Kind::Error, error);
}

void TMainForm::OpenTmpActionExecute()
{
    TTemplateForm form(AppFolder(env_.appDir).templateFolder(), *env_.messages, this);
    if (form.exec() != QDialog::Accepted)
        return;
    openTemplate(form.path(), form.category());
}

void TMainForm::openTemplate(const QString &path, int category)
{
    const IniFile ini(path);
    if (!ini.readable() || category < sstCustomer || category > sstSlip) {
        // A file of no known category would replace the whole slip with
        // whatever it holds; it is left alone.
        env_.messages->show(MessageService::Kind::Warning, u"テンプレートの種類が不明なため開けません"_s);
        return;
    }
    SlipFrame1->LoadSlip(ini, TSlipSaveType(category));
    // Labour charges and totals follow this slip's rate, not the one the
    // template was saved with.
    if (category == sstLines || category == sstSlip)
        SlipFrame1->recomputeAll();
    SlipFrame1->markModified();
    SlipFrame1->setModified(true);
    updateTitle();
}

void TMainForm::UndoActionExecute()
{
    if (currentFile_.isEmpty())
        return;
    // Reverting throws away every edit since the last save at once; that
    // deserves a question, with No as the safe default.
    if (SlipFrame1->isModified() &&
        !env_.messages->askWarning(u"変更を破棄して、前回保存した状態に戻しますか？"_s))
        return;
    SlipFrame1->setNotify(false);
    if (loadFile(currentFile_) && recovery_)
        recovery_->discard();
    SlipFrame1->setNotify(true);
    updateTitle();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Typing of the last moment counts as a change worth the question.
    SlipFrame1->commitEdits();
    if (SlipFrame1->isModified()) {
        switch (env_.messages->ask(u"保存しますか？"_s, true)) {
        case MessageService::Answer::Yes:
            // A save that failed (its message is shown) or a Save As that was
            // cancelled keeps the window and its edits.
            if (!SaveActionExecute()) {
                event->ignore();
                return;
            }
            break;
        case MessageService::Answer::No:
            break;
        default:
            event->ignore();
            return;
        }
    }
    finish();
    event->accept();
}

void TMainForm::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (editMode_)
        Frame11->SaveAll();
    // A slip closed without saving was the user's choice: nothing to offer
    // at the next start.
    if (recovery_)
        recovery_->discard();
    slipLock_.reset();
    printRun_->removeSnapshot();
    const QString folder = currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).absolutePath();
    QString error;
    if (!folder.isEmpty() &&
        !AppSettings::writeInitialFolder(env_.settingsPath, QDir::toNativeSeparators(folder), &error))
        env_.messages->show(MessageService::Kind::Error, error);
}

void TMainForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    // Lets tests and scripts see that another process asked for this window.
    const QString log = qEnvironmentVariable("TORVANE_ACTIVATION_LOG");
    if (!log.isEmpty()) {
        QFile f(log);
        if (f.open(QIODevice::Append))
            f.write(windowTitle().toUtf8() + '\n');
    }
}

// ---- printing --------------------------------------------------------------------------------

SlipData TMainForm::slipForPrinting()
{
    // Everything from the lines and costs, as the command lines print a slip
    // file: a slip opened and printed at once shows no stale stored totals.
    SlipFrame1->recomputeAll();
    printRun_->setDocumentName(currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).fileName());
    return SlipFrame1->data();
}

void TMainForm::PrintActionExecute()
{
    printRun_->printCommand(slipForPrinting());
}

void TMainForm::PreviewActionExecute()
{
    printRun_->print(slipForPrinting(), true);
}

void TMainForm::PrintSetupActionExecute()
{
    printRun_->printerSetup(SlipFrame1->data().slipDiv, false);
}

void TMainForm::OptionActionExecute()
{
    // The dialog edits the same price list as the docked panel.
    if (editMode_)
        setEditMode(false);
    {
        TOptionForm form(env_.appDir, env_.settingsPath, *env_.messages, this);
        connect(&form, &TOptionForm::helpRequested, this, &TMainForm::showHelp);
        if (env_.runOptions)
            env_.runOptions(form);
        else
            form.exec();
    }
    reloadSettings(false);
    Frame11->ReloadAll();
}

void TMainForm::PdfActionExecute()
{
    const SlipData slip = slipForPrinting();
    printRun_->exportPdfDialog(slip, proposedPdfPath());
}

// ---- search window placement ---------------------------------------------------------------

void TMainForm::ToolWinActionExecute(bool show)
{
    QAction *toggle = action(u"ToolWinAction"_s);
    const QSignalBlocker block(toggle);
    toggle->setChecked(show);
    if (show == ItemPanel_->isVisible())
        return;
    const bool normal = !isMaximized() && !isFullScreen();
    ItemPanel_->setVisible(show);
    if (normal)
        resize(width() + (show ? ItemPanel::DefaultWidth : -ItemPanel::DefaultWidth), height());
    if (show)
        placePanel(ItemPanel_->onRight());
}

void TMainForm::placePanel(bool right)
{
    ItemPanel_->setOnRight(right);
    Splitter1->insertWidget(right ? 1 : 0, ItemPanel_);
    QList<int> sizes = Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    sizes = right ? QList<int>{total - ItemPanel::DefaultWidth, ItemPanel::DefaultWidth}
                  : QList<int>{ItemPanel::DefaultWidth, total - ItemPanel::DefaultWidth};
    Splitter1->setSizes(sizes);
}

void TMainForm::AddButtonClick()
{
    if (editMode_)
        return;
    const QString text = Frame11->GetSelectedItemLine();
    if (text.isEmpty())
        return;
    constexpr int LineSection = 4;
    if (!SlipFrame1->section(LineSection)->isOpen())
        SlipFrame1->openSection(LineSection);
    TSlipGridFrame *grid = SlipFrame1->grid();
    if (QWidget *editor = grid->editor(grid->currentField()))
        editor->setFocus(Qt::OtherFocusReason);
    else
        grid->setFocus(Qt::OtherFocusReason);
    grid->InsertRowText(text);
    SlipFrame1->recomputeAll();
}

void TMainForm::focusItemSearch()
{
    if (editMode_)
        return;
    if (!ItemPanel_->isVisible())
        action(u"ToolWinAction"_s)->setChecked(true);
    Frame11->focusSearch();
}

void TMainForm::setEditMode(bool on)
{
    Frame11->SetEditMode(on);
    editMode_ = on;
    SlipFrame1->setVisible(!on);
    ToolBar1->setVisible(!on);
    menuBar()->setVisible(!on);
    ItemPanel_->addButton()->setEnabled(!on);
    ItemPanel_->closeButton()->setEnabled(!on);
    ItemPanel_->rightButton()->setEnabled(!on);
    ItemPanel_->leftButton()->setEnabled(!on);
    ItemPanel_->editButton()->setText(on ? u"編集終了(&T)"_s : u"編集(&T)"_s);
    if (!on)
        placePanel(ItemPanel_->onRight());
}
