#include "Backups.h"
#include "FirstStartForm.h"
#include "PdfCommandLine.h"
#include "PrintCommandLine.h"
#include "QtTranslations.h"
#include "TMainForm.h"
#include "ToolBarIconStyle.h"
#include "TorvaneVersion.h"
#include "ZipCommandLine.h"

#include "controls/widgets/BoxMessageService.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/DataFolderChoice.h"
#include "platform/ProcessLauncher.h"
#include "print/FontSetup.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStatusBar>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString FileFilter = QStringLiteral("自動車整備伝票ファイル(*.tvx)");

// The data folder of this run; warnings go to the error stream, as the
// window-less modes have no other place for them.
DataFolderChoice::Choice selectDataFolder(const QString &option)
{
    QString warning;
    const DataFolderChoice::Choice choice =
        DataFolderChoice::select(option, QStringLiteral(TORVANE_VERSION), &warning);
    if (!warning.isEmpty())
        qWarning("%s", qUtf8Printable(warning));
    return choice;
}

} // namespace

int main(int argc, char *argv[])
{
    // The data folder option is taken off before any mode looks at the
    // arguments, so that it may stand anywhere.
    QStringList plainArguments;
    for (int i = 0; i < argc; ++i)
        plainArguments << QString::fromLocal8Bit(argv[i]);
    const QString dataDirOption = DataFolderChoice::takeOption(&plainArguments);
    std::vector<QByteArray> kept;
    for (const QString &a : std::as_const(plainArguments))
        kept.push_back(a.toLocal8Bit());
    std::vector<char *> keptArgv;
    for (QByteArray &a : kept)
        keptArgv.push_back(a.data());
    keptArgv.push_back(nullptr);
    argc = int(kept.size());
    argv = keptArgv.data();

    // Names the per-user data folder in every mode.
    QCoreApplication::setApplicationName(QStringLiteral("Torvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVANE_VERSION));
    if (isPdfCommandLine(argc, argv)) {
        // Fonts need a GUI application; no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return runPdfCommandLine(QCoreApplication::arguments(), selectDataFolder(dataDirOption).folder)
            .value_or(2);
    }
    if (isPrintCommandLine(argc, argv)) {
        // Window-less modes: no display needed.
        QCoreApplication app(argc, argv);
        return runPrintCommandLine(QCoreApplication::arguments(), selectDataFolder(dataDirOption).folder)
            .value_or(2);
    }
    if (isZipCommandLine(argc, argv)) {
        QCoreApplication app(argc, argv);
        return runZipCommandLine(QCoreApplication::arguments(), selectDataFolder(dataDirOption).folder)
            .value_or(2);
    }
    QApplication app(argc, argv);
    QApplication::setStyle(new ToolBarIconStyle); // owned by the application
    QtTranslations::installJapanese(app);
    FontSetup::installSubstitutions();
    FontSetup::installUiFont();

    const QStringList args = QApplication::arguments().mid(1);
    const QString argument = args.value(0);

    const DataFolderChoice::Choice dataFolder = selectDataFolder(dataDirOption);
    const AppFolder appFolder(dataFolder.folder);
    BoxMessageService messages;
    TMainFormEnvironment env;
    env.appDir = appFolder.path();
    env.appDirSource = DataFolderChoice::describe(dataFolder.source);
    env.settingsPath = appFolder.settingsFile();
    env.program = QApplication::applicationFilePath();
    env.messages = &messages;
    env.startProcess = &ProcessLauncher::startDetached;
    env.deferSlipBodies = true;
    // Tests that start the program keep the build's data folder free of
    // recovery files and archives.
    if (qEnvironmentVariableIsEmpty("TORVANE_NO_RECOVERY"))
        env.recoveryFolder = appFolder.recoveryFolder();

    QWidget *dialogParent = nullptr;
    env.chooseOpenFile = [&dialogParent](const QString &start) {
        return QFileDialog::getOpenFileName(dialogParent, QString(), start, FileFilter);
    };
    // The overwrite question is the program's own.
    env.chooseSaveFile = [&dialogParent](const QString &start) {
        return QFileDialog::getSaveFileName(dialogParent, QString(), start, FileFilter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    env.chooseBackupFile = [&dialogParent](const QString &folder) {
        return QFileDialog::getOpenFileName(dialogParent, u"バックアップから復元"_s, folder,
                                            u"バックアップ(torvane-backup-*.zip)"_s);
    };

    TMainForm form(env);
    dialogParent = &form;
    messages.setParent(&form);
    // The slip's lock is taken before the window shows; when another process
    // shows the slip, that one came to the front and this one ends.
    if (!form.start(argument))
        return 0;
    form.show();
    // The first start of a day keeps the masters and settings as they were;
    // a slip left unsaved by a process that is gone is offered again.
    form.afterFirstPaint([&] {
        if (qEnvironmentVariableIsEmpty("TORVANE_NO_BACKUP")) {
            QString error;
            if (Backups::makeDaily(appFolder, Clock::localNow(), &error).isEmpty() && !error.isEmpty())
                form.statusBar()->showMessage(u"バックアップを作成できません: "_s + error);
        }
        form.offerRecovery();
    });
    // A new installation is asked for its company block once the window is
    // up; "後で" leaves it for the next start.
    if (FirstStartForm::needed(env.appDir)) {
        form.afterFirstPaint([&] {
            FirstStartForm setup(env.appDir, messages, &form);
            if (setup.exec() == QDialog::Accepted)
                form.reloadSettings(false);
        });
    }
    return app.exec();
}
