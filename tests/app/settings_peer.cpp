// A process that shares the settings file with others, for the tests of
// concurrent writes:
//   settings_peer key <file> <name> <count>  writes [Peers] <name> = 1..count,
//                                            flushing after each, through one
//                                            long-lived file object;
//   settings_peer number <file> <count>      takes count slip numbers and
//                                            prints one per line;
//   settings_peer recent <file> <path>...    puts each path at the top of the
//                                            recent files in turn.
#include "app/AppSettings.h"
#include "app/RecentFiles.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() == 5 && args.at(1) == QLatin1String("key")) {
        IniFile ini(args.at(2));
        const int count = args.at(4).toInt();
        for (int i = 1; i <= count; ++i) {
            ini.writeInteger(QStringLiteral("Peers"), args.at(3), i);
            QString error;
            if (!ini.flush(&error)) {
                err << error << '\n';
                return 1;
            }
        }
        return 0;
    }
    if (args.size() == 4 && args.at(1) == QLatin1String("number")) {
        QTextStream out(stdout);
        const int count = args.at(3).toInt();
        for (int i = 0; i < count; ++i) {
            int number = -1;
            QString error;
            if (!AppSettings::takeSlipNumber(args.at(2), &number, &error)) {
                err << error << '\n';
                return 1;
            }
            out << number << '\n';
        }
        return 0;
    }
    if (args.size() >= 4 && args.at(1) == QLatin1String("recent")) {
        for (const QString &path : args.mid(3)) {
            QString error;
            if (!RecentFiles::add(args.at(2), path, &error)) {
                err << error << '\n';
                return 1;
            }
        }
        return 0;
    }
    return 2;
}
