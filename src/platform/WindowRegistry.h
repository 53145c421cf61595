#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

// Processes of the program find each other by the exact title of their main
// window. Every process answers on a local socket in a per-user folder:
// "title" gives its window title, "activate" brings its window to the front.
// A lookup asks every live peer; sockets left behind by a killed process are
// recognised by the refused connection and removed.
namespace WindowRegistry {

// The per-user folder that holds one socket per running process. The
// environment variable TORVANE_REGISTRY_DIR overrides it (tests keep their
// processes apart from a user's running program with it).
QString folder();

// Asks every other live process for its title; brings the first one whose
// title equals title exactly to the front. True when one was found.
bool activateWindowWithTitle(const QString &title, int timeoutMs = 1500);

// True when another live process shows exactly this title.
bool windowWithTitleExists(const QString &title, int timeoutMs = 1500);

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
    void serve();

    std::function<QString()> title_;
    std::function<void()> activate_;
    QLocalServer *server_ = nullptr; // child of this
};
