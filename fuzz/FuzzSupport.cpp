#include "FuzzSupport.h"

#include <QFile>
#include <QGuiApplication>

namespace FuzzSupport {

void ensureGuiApplication()
{
    // Never destroyed: at exit the font and platform singletons it would tear
    // down are already gone.
    static QGuiApplication *app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

QString sourcePath(const QString &relativePath)
{
    return QStringLiteral(TORVANE_SOURCE_DIR "/") + relativePath;
}

QByteArray dataFile(const QString &relativePath)
{
    QFile f(sourcePath(relativePath));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(f.fileName()));
        std::abort();
    }
    return f.readAll();
}

} // namespace FuzzSupport
