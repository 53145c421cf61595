#pragma once

#include "AppSettings.h"

#include "slip/SlipData.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class AutoRecovery;
class IniFile;
class HelpViewer;
class ItemPanel;
class MessageService;
class PrintRun;
class PrinterService;
class QAction;
class QDateTime;
class QLockFile;
class QMenu;
class QSplitter;
class QToolButton;
class TFrame1;
class TOptionForm;
class TSlipFrame;
class WindowTitleServer;

// What the main window needs from the world around it; tests replace the
// dialogs and the process start.
struct TMainFormEnvironment {
    QString appDir;       // the folder of Dat/ and the settings, with a trailing "/"
    QString appDirSource; // why that folder, for the about box; may be empty
    QString settingsPath; // <executable>.ini in appDir
    QString program;      // the executable, for further processes
    // Every message box of the window and its slip; required.
    MessageService *messages = nullptr;
    // The open and save dialogs: the chosen path, or empty for Cancel.
    std::function<QString(const QString &start)> chooseOpenFile;
    std::function<QString(const QString &start)> chooseSaveFile;
    std::function<bool(const QString &program, const QStringList &arguments)> startProcess;
    // Runs the options dialog modally; tests replace it.
    std::function<void(TOptionForm &)> runOptions;
    // The printers; the system's when not given.
    PrinterService *printers = nullptr;
    // Where the unsaved state of the slip is kept for the next start after
    // a crash; empty keeps none (tests, unless they ask for it).
    QString recoveryFolder;
    int recoveryIntervalMs = 60 * 1000;
    // The backup archive to restore from: the chosen path, or empty.
    std::function<QString(const QString &folder)> chooseBackupFile;
    // The slip editor's section bodies wait for the window's first paint
    // when the slip shows them closed (the program's start); tests that
    // look into the controls at once keep them built from the start.
    bool deferSlipBodies = false;
};

// The main window: one slip per process, its commands, the item panel and
// the title that other processes look for.
class TMainForm : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm)
public:
    explicit TMainForm(const TMainFormEnvironment &environment, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Opens the file of the first argument when it names an existing file
    // (a recovery file is restored);
    // otherwise starts a new slip. False when the window is not to be shown:
    // another process has the file open (its window was brought to the
    // front) or the user declined to open a file held on another PC.
    bool start(const QString &argument);

    TSlipFrame *slipFrame() const { return SlipFrame1; }
    ItemPanel *itemPanel() const { return ItemPanel_; }
    TFrame1 *itemFrame() const { return Frame11; }
    const QString &currentFile() const { return currentFile_; }
    // The slip is open without its lock (none could be made beside it):
    // Save asks for a new name instead of writing over it.
    bool isReadOnly() const { return readOnly_; }
    QString instancePrefix() const { return instancePrefix_; }
    PrintRun *printRun() const { return printRun_.get(); }
    QString snapshotPath() const;

    // The commands, by their action names.
    QAction *action(const QString &name) const;

    // "[新規] - Torvane", file + " - Torvane", with " <更新>" when modified.
    static QString titleFor(const QString &file, bool modified);
    // The name Save As proposes for a new slip: number + "-yy-mm-dd.tvx".
    static QString proposedFileName(const QString &slipCode, QDate issueDate);
    // Where "PDFに保存" starts: beside the slip file, under its name with
    // ".pdf"; for a slip not yet saved, the name save as would propose.
    QString proposedPdfPath() const;

    // Commands.
    void NewActionExecute();
    void OpenActionExecute();
    // The open command after the dialog.
    void openFile(const QString &path);
    bool SaveActionExecute();
    bool SaveAsActionExecute();
    void UndoActionExecute();
    // Asks for a category and a name and stores that part of the slip as a
    // new template.
    void SaveTmpActionExecute();
    // Lets the user pick a template; its part replaces the slip's, which
    // then counts as modified.
    void OpenTmpActionExecute();
    // The second half of the open command: merges the template file of the
    // category into the slip.
    void openTemplate(const QString &path, int category);
    void ToolWinActionExecute(bool show);
    // The picked row of the item search window becomes a line item before
    // the grid's current row; the slip is recomputed.
    void AddButtonClick();
    // Shows the search window when hidden and puts the cursor in its field.
    void focusItemSearch();
    void PrintActionExecute();
    void PreviewActionExecute();
    void PrintSetupActionExecute();
    void PdfActionExecute();
    // The options dialog; afterwards the settings, the print defaults and
    // the docked item list are read again.
    void OptionActionExecute();
    void reloadSettings(bool startMode);
    // Help: the page of a topic in the help window, and the topic of the
    // focused area (F1): the grid, the search window or the slip editor.
    void showHelp(int topic);
    int contextTopic() const;
    HelpViewer *helpViewer() const;
    // Offers the recovery files of processes that are gone: each is
    // restored (here when this window shows an untouched new slip, else in
    // a process of its own), thrown away, or left for the next start.
    void offerRecovery();
    // The question that offers a recovery file.
    static QString recoveryQuestion(const QString &slipCode, const QString &customer, const QDateTime &time,
                                    const QString &originalPath);
    AutoRecovery *autoRecovery() const { return recovery_; }
    // "データのバックアップ": an archive of the masters and settings now.
    void BackupActionExecute();
    // "バックアップから復元": after a question, and after a backup of the
    // state it replaces.
    void RestoreActionExecute();

    // Runs task once the window has painted for the first time; at once
    // (through the event loop) when it has. Work that the window's first
    // picture does not need waits here instead of in a timer started before
    // the window shows: such a timer still runs before the first paint.
    void afterFirstPaint(std::function<void()> task);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    // The recent-files submenu, read from the settings file.
    void fillRecentMenu(QMenu *menu);
    void buildToolBar();
    void buildCentre();
    void buildHelp();
    void slipChanged();
    void updateTitle();
    enum class RecentNote { Now, AfterFirstPaint };
    bool loadFile(const QString &path, RecentNote note = RecentNote::Now);
    // Shows the slip of a recovery file (its lock held by lock) as modified,
    // with its original file, and removes the recovery file.
    void restoreRecovery(const QString &path, std::shared_ptr<QLockFile> lock);
    // Whether the slip at path may be shown here: takes its lock into *lock,
    // hands over to the process that shows it, or asks about a lock of
    // another PC. Open, OpenReadOnly (no lock possible) or Refuse.
    enum class Claim { Open, OpenReadOnly, Refuse };
    Claim claimSlip(const QString &path, std::unique_ptr<QLockFile> *lock);
    bool saveTo(const QString &path);
    void setEditMode(bool on);
    void placePanel(bool right);
    void bringToFront();
    void finish();
    void runAfterPaintTasks();
    QString startFolder() const;
    // Puts a slip just opened or saved at the top of the recent files.
    void noteRecent(const QString &path);
    // The slip as printing sees it: totals recomputed from what is shown.
    SlipData slipForPrinting();

    TMainFormEnvironment env_;
    AppSettings settings_;
    std::unique_ptr<PrinterService> ownPrinters_;
    std::unique_ptr<PrintRun> printRun_;
    QString currentFile_;
    QString instancePrefix_;
    QString initialFolder_;
    bool editMode_ = false;
    bool readOnly_ = false;
    std::unique_ptr<QLockFile> slipLock_; // held while the current file is open here
    bool finished_ = false;

    TSlipFrame *SlipFrame1 = nullptr;
    ItemPanel *ItemPanel_ = nullptr;
    TFrame1 *Frame11 = nullptr;
    QSplitter *Splitter1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    WindowTitleServer *titleServer_ = nullptr;
    bool painted_ = false;
    std::vector<std::function<void()>> afterPaint_;
    QPointer<HelpViewer> helpViewer_;
    AutoRecovery *recovery_ = nullptr;
};
