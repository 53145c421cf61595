#include "WindowRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString ownName()
{
    return QString::number(QCoreApplication::applicationPid());
}

// Sends one request line to the peer behind path; the reply line, or a null
// string when the peer did not answer. A refused connection means a stale
// socket of a process that is gone: it is removed.
QString ask(const QString &path, const QByteArray &request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) {
        const auto error = socket.error();
        if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
            QFile::remove(path);
        return {};
    }
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return {};
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs))
            break;
        reply += socket.readAll();
    }
    socket.disconnectFromServer();
    if (!reply.endsWith('\n'))
        return {};
    reply.chop(1);
    return QString::fromUtf8(reply);
}

// The sockets of the other live processes.
QStringList peers()
{
    QDir dir(WindowRegistry::folder());
    QStringList paths;
    for (const QString &name : dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (name != ownName())
            paths.append(dir.filePath(name));
    }
    return paths;
}

} // namespace

namespace WindowRegistry {

QString folder()
{
    const QByteArray overridden = qgetenv("TORVANE_REGISTRY_DIR");
    if (!overridden.isEmpty())
        return QString::fromLocal8Bit(overridden);
#ifdef Q_OS_UNIX
    // $USER may be unset (CI); the numeric user id is always there.
    const QString user = QString::number(getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
    return QDir::tempPath() + QStringLiteral("/torvane-") + user;
}

bool activateWindowWithTitle(const QString &title, int timeoutMs)
{
    for (const QString &path : peers()) {
        if (ask(path, "title", timeoutMs) == title) {
            ask(path, "activate", timeoutMs);
            return true;
        }
    }
    return false;
}

bool windowWithTitleExists(const QString &title, int timeoutMs)
{
    for (const QString &path : peers())
        if (ask(path, "title", timeoutMs) == title)
            return true;
    return false;
}

} // namespace WindowRegistry

WindowTitleServer::WindowTitleServer(std::function<QString()> title, std::function<void()> activate,
                                     QObject *parent)
    : QObject(parent), title_(std::move(title)), activate_(std::move(activate)),
      server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &WindowTitleServer::serve);
}

WindowTitleServer::~WindowTitleServer()
{
    server_->close(); // removes the socket file
}

bool WindowTitleServer::listen()
{
    const QString dir = WindowRegistry::folder();
    if (!QDir().mkpath(dir))
        return false;
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString path = QDir(dir).filePath(ownName());
    if (server_->listen(path))
        return true;
    // A socket of an earlier process with our pid: nobody answers there.
    QLocalServer::removeServer(path);
    return server_->listen(path);
}

void WindowTitleServer::serve()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray request = socket->readLine().trimmed();
                if (request == "title") {
                    socket->write(title_().toUtf8() + '\n');
                } else if (request == "activate") {
                    activate_();
                    socket->write("ok\n");
                } else {
                    socket->write("\n");
                }
            }
        });
    }
}
