#include "TMainForm.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvane"));
    const QString appDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + u'/';
    TMainForm form(appDir);
    form.show();
    return app.exec();
}
