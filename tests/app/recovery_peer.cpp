// A window with a slip that has an unsaved edit and keeps its recovery file,
// for the test that kills it: arguments are the application folder and the
// slip. Prints "ready" once the recovery file is written, then runs until
// killed.
#include "support/FakeMessageService.h"

#include "app/TMainForm.h"
#include "platform/AppFolder.h"
#include "slip/widgets/TSlipFrame.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    FakeMessageService messages;
    TMainFormEnvironment env;
    env.appDir = args.at(1);
    env.settingsPath = env.appDir + u"torvane.ini"_s;
    env.program = u"torvane"_s;
    env.messages = &messages;
    env.recoveryFolder = AppFolder(env.appDir).recoveryFolder();
    env.recoveryIntervalMs = 20;
    TMainForm form(env);
    if (!form.start(args.at(2)))
        return 3;
    form.show();
    form.slipFrame()->findChild<QLineEdit *>(u"CuNameEdit"_s)->setText(u"復元 花子"_s);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!QDir(env.recoveryFolder).entryList({u"*.tvr"_s}, QDir::Files).isEmpty()) {
            poll.stop();
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    });
    poll.start(10);
    return app.exec();
}
