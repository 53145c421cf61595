// A process that saves a 1,000-row slip over one file again and again,
// alternating between two versions, until it is killed:
//   slip_saver <file>
// It prints "saving" once before its first save.
#include "SaveLoopSlips.h"

#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    const SlipData versions[2] = {SaveLoopSlips::slip(1), SaveLoopSlips::slip(2)};
    const SlipFile::Context context = SaveLoopSlips::context();
    QTextStream out(stdout);
    out << "saving\n";
    out.flush();
    for (unsigned i = 0;; ++i) {
        IniFile ini(args.at(1));
        QString error;
        if (!SlipFile::save(ini, versions[(i + 1) % 2], sstAll, context, &error)) {
            QTextStream(stderr) << error << '\n';
            return 1;
        }
    }
}
