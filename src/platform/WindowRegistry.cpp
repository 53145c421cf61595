#include "WindowRegistry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString ownName()
{
    return QString::number(QCoreApplication::applicationPid());
}

// Sends one request line to the peer behind path; the reply line, or a null
// string when the peer did not answer before the deadline. A refused
// connection means a stale socket of a process that is gone: it is removed.
QString ask(const QString &path, const QByteArray &request, const QDeadlineTimer &deadline)
{
    auto left = [&deadline] { return int(qMax<qint64>(deadline.remainingTime(), 0)); };
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(left())) {
        const auto error = socket.error();
        if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
            QFile::remove(path);
        return {};
    }
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(left()))
        return {};
    QByteArray reply;
    while (!reply.contains('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(left()))
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
    if (!WindowRegistry::ensureFolder())
        return {};
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
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(QStringLiteral("torvane"));
#ifdef Q_OS_UNIX
    // $USER may be unset (CI); the numeric user id is always there.
    const QString user = QString::number(getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
    return QDir::tempPath() + QStringLiteral("/torvane-") + user;
}

bool ensureFolder()
{
    const QString dir = folder();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(dir);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    // Someone else's folder (or a link to one) in a shared place is never used.
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0)
        return false;
    return true;
#else
    return QDir().mkpath(dir);
#endif
}

bool activateProcess(qint64 pid, int budgetMs)
{
    if (pid <= 0 || !ensureFolder())
        return false;
    const QDeadlineTimer deadline(budgetMs);
    return !ask(QDir(folder()).filePath(QString::number(pid)), "activate", deadline).isNull();
}

bool activateWindowWithTitle(const QString &title, int budgetMs)
{
    const QDeadlineTimer deadline(budgetMs);
    for (const QString &path : peers()) {
        if (deadline.hasExpired())
            break;
        if (ask(path, "title", deadline) == title) {
            ask(path, "activate", deadline);
            return true;
        }
    }
    return false;
}

bool windowWithTitleExists(const QString &title, int budgetMs)
{
    const QDeadlineTimer deadline(budgetMs);
    for (const QString &path : peers()) {
        if (deadline.hasExpired())
            break;
        if (ask(path, "title", deadline) == title)
            return true;
    }
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
    if (!WindowRegistry::ensureFolder())
        return false;
    const QString dir = WindowRegistry::folder();
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
