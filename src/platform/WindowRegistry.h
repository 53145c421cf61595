#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

// Brings the window of another process of the program to the front. Which
// process holds a slip is decided by the slip's lock (DocumentLock); this
// registry only reaches that process. Every process answers on a local
// socket named by its process id, in a per-user folder that the program
// creates with mode 0700 and uses only while the user owns it: "title" gives
// its window title, "activate" brings its window to the front. Sockets left
// behind by a killed process are recognised by the refused connection and
// removed. No lookup blocks its caller for more than its time budget in all.
namespace WindowRegistry {

// The per-user folder that holds the sockets: $XDG_RUNTIME_DIR/torvane where
// the runtime folder is set, else torvane-<uid> in the temporary folder. The
// environment variable TORVANE_REGISTRY_DIR overrides it (tests keep their
// processes apart from a user's running program with it).
QString folder();

// Creates the folder (0700) when missing; false when it exists but belongs
// to someone else or others may write into it.
bool ensureFolder();

// Brings the window of the process with this id to the front. True when it
// answered within budgetMs.
bool activateProcess(qint64 pid, int budgetMs = 100);

// Asks the other live processes for their titles; brings the first one whose
// title equals title exactly to the front. True when one was found.
bool activateWindowWithTitle(const QString &title, int budgetMs = 100);

// True when another live process shows exactly this title.
bool windowWithTitleExists(const QString &title, int budgetMs = 100);

} // namespace WindowRegistry

// The answering side, one per process, alive as long as the main window.
class WindowTitleServer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowTitleServer)
public:
    WindowTitleServer(std::function<QString()> title, std::function<void()> activate,
                      QObject *parent = nullptr);
    ~WindowTitleServer() override;

    // Registers this process; false when the socket could not be created.
    bool listen();

private:
    class Connection;
    void serve();
    void close();
    // The reply line to one request line, without its line end.
    QByteArray answer(const QByteArray &request);

    std::function<QString()> title_;
    std::function<void()> activate_;
    QString path_;
    int listening_ = -1;                  // the listening socket, or -1
    QSocketNotifier *notifier_ = nullptr; // child of this, while listening
};
