// A stand-in process for the title protocol tests: it answers with the title
// given as its first argument and appends a line to the file of its second
// argument whenever it is asked to come to the front. With a third argument
// it holds that slip's lock, as a window showing the slip does.
#include "platform/DocumentLock.h"
#include "platform/WindowRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;
    const QString title = args.at(1);
    const QString log = args.at(2);
    WindowTitleServer server([title] { return title; },
                             [log] {
                                 QFile f(log);
                                 if (f.open(QIODevice::Append))
                                     f.write("activated\n");
                             });
    if (!server.listen())
        return 3;
    DocumentLock::Claim claim;
    if (args.size() > 3) {
        claim = DocumentLock::take(args.at(3));
        if (claim.state != DocumentLock::State::Taken)
            return 4;
    }
    QFile ready(log + QStringLiteral(".ready"));
    ready.open(QIODevice::WriteOnly);
    return app.exec();
}
