#include "WindowRegistry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// The protocol runs over plain AF_UNIX stream sockets and QSocketNotifier:
// Qt's local sockets would bring the network library and its Kerberos and
// proxy dependencies into every start of the program for one line of text.

namespace {

QString ownName()
{
    return QString::number(QCoreApplication::applicationPid());
}

#ifdef Q_OS_UNIX

// An owned file descriptor, closed when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// The socket address of path; false when the path is too long for one.
bool addressOf(const QString &path, sockaddr_un *address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address->sun_path))
        return false;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// Waits until fd is ready for events or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (n > 0)
            return (p.revents & (events | POLLHUP)) != 0;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// Writes all of data, waiting for room until the deadline; false when the
// peer went away or the time ran out.
bool sendAll(int fd, const QByteArray &data, const QDeadlineTimer &deadline)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (!(n < 0 && errno == EAGAIN && waitFor(fd, POLLOUT, deadline)))
            return false;
    }
    return true;
}

// Sends one request line to the peer behind path; the reply line, or a null
// string when the peer did not answer before the deadline. A refused
// connection means a stale socket of a process that is gone: it is removed.
QString ask(const QString &path, const QByteArray &request, const QDeadlineTimer &deadline)
{
    sockaddr_un address;
    if (!addressOf(path, &address))
        return {};
    const Fd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return {};
    if (::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        if (errno == ECONNREFUSED || errno == ENOENT) {
            QFile::remove(path);
            return {};
        }
        // A full backlog: the peer may still take us within the budget.
        if (errno != EAGAIN && errno != EINPROGRESS)
            return {};
        int error = 0;
        socklen_t length = sizeof error;
        if (!waitFor(socket.get(), POLLOUT, deadline) ||
            ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return {};
    }
    if (!sendAll(socket.get(), request + '\n', deadline))
        return {};
    QByteArray reply;
    while (!reply.contains('\n')) {
        char buffer[512];
        const ssize_t n = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            reply.append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN && waitFor(socket.get(), POLLIN, deadline)) {
            continue;
        } else {
            break; // closed, failed or out of time
        }
    }
    const qsizetype end = reply.indexOf('\n');
    if (end < 0)
        return {};
    return QString::fromUtf8(reply.left(end));
}

#else

QString ask(const QString &, const QByteArray &, const QDeadlineTimer &)
{
    return {}; // windows are found by title through the system there
}

#endif

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

#ifdef Q_OS_UNIX

// One connection of a peer: it reads request lines and answers each one;
// it goes when the peer closes its end.
class WindowTitleServer::Connection : public QObject {
public:
    Connection(int fd, WindowTitleServer *server) : QObject(server), fd_(fd), server_(server)
    {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { readSome(); });
    }
    ~Connection() override
    {
        delete notifier_; // before its descriptor goes
        ::close(fd_);
    }

private:
    void readSome()
    {
        char buffer[512];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (n <= 0 || pending_.size() > 4096) { // closed, failed, or no line in sight
            notifier_->setEnabled(false);
            deleteLater();
            return;
        }
        pending_.append(buffer, n);
        for (qsizetype end; (end = pending_.indexOf('\n')) >= 0;) {
            const QByteArray request = pending_.left(end).trimmed();
            pending_.remove(0, end + 1);
            answer(server_->answer(request) + '\n');
        }
    }

    // Replies are a line each and the peer waits for them: a short wait for
    // room is enough, and a peer that takes nothing loses its answer.
    void answer(const QByteArray &reply) { sendAll(fd_, reply, QDeadlineTimer(100)); }

    int fd_;
    WindowTitleServer *server_;
    QSocketNotifier *notifier_ = nullptr; // child of this
    QByteArray pending_;
};

#endif

WindowTitleServer::WindowTitleServer(std::function<QString()> title, std::function<void()> activate,
                                     QObject *parent)
    : QObject(parent), title_(std::move(title)), activate_(std::move(activate))
{
}

WindowTitleServer::~WindowTitleServer()
{
    close();
}

QByteArray WindowTitleServer::answer(const QByteArray &request)
{
    if (request == "title")
        return title_().toUtf8();
    if (request == "activate") {
        activate_();
        return "ok";
    }
    return {};
}

void WindowTitleServer::close()
{
#ifdef Q_OS_UNIX
    if (listening_ < 0)
        return;
    delete notifier_;
    notifier_ = nullptr;
    ::close(listening_);
    listening_ = -1;
    QFile::remove(path_); // the socket file
#endif
}

bool WindowTitleServer::listen()
{
#ifdef Q_OS_UNIX
    close();
    if (!WindowRegistry::ensureFolder())
        return false;
    path_ = QDir(WindowRegistry::folder()).filePath(ownName());
    sockaddr_un address;
    if (!addressOf(path_, &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    auto bound = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    };
    // A socket of an earlier process with our pid: nobody answers there.
    if (!bound() && !(errno == EADDRINUSE && QFile::remove(path_) && bound())) {
        ::close(fd);
        return false;
    }
    if (::chmod(address.sun_path, 0600) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        QFile::remove(path_);
        return false;
    }
    listening_ = fd;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { serve(); });
    return true;
#else
    return false;
#endif
}

void WindowTitleServer::serve()
{
#ifdef Q_OS_UNIX
    for (;;) {
        const int fd = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // nothing more waiting
        }
        new Connection(fd, this); // owned by this server
    }
#endif
}
