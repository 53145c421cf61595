#include "PdfCommandLine.h"
#include "PrintCommandLine.h"
#include "TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    if (isPdfCommandLine(argc, argv)) {
        // Fonts need a GUI application; no display is needed.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        const QString appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
        return runPdfCommandLine(QCoreApplication::arguments(), appDir).value_or(2);
    }
    if (isPrintCommandLine(argc, argv)) {
        // Window-less modes: no display needed.
        QCoreApplication app(argc, argv);
        const QString appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
        return runPrintCommandLine(QCoreApplication::arguments(), appDir).value_or(2);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    const QString appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
    TMainForm form(appDir);
    form.show();
    return app.exec();
}
