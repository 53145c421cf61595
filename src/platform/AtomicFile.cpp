#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString TemporaryPrefix = u".~save."_s;

QString failure(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) + u" に書き込めません: "_s + reason;
}

QString temporaryName(const QString &fileName)
{
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 8; ++i)
        suffix += QLatin1Char(digits[QRandomGenerator::global()->bounded(int(sizeof digits - 1))]);
    return TemporaryPrefix + fileName + u'.' + suffix;
}

} // namespace

namespace AtomicFile {

QString systemReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return u"ディスクの空き容量が足りません"_s;
#ifdef EDQUOT
    case EDQUOT:
        return u"ディスクの使用量の上限を超えています"_s;
#endif
    case EACCES:
    case EPERM:
        return u"アクセスが拒否されました"_s;
    case EROFS:
        return u"読み取り専用のファイルシステムです"_s;
    case ENOENT:
    case ENOTDIR:
        return u"フォルダがありません"_s;
    case EISDIR:
        return u"同じ名前のフォルダがあります"_s;
    case EIO:
        return u"入出力エラーが発生しました"_s;
    case ENAMETOOLONG:
        return u"ファイル名が長すぎます"_s;
    case EMFILE:
    case ENFILE:
        return u"開いているファイルが多すぎます"_s;
    default:
        return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString lastSystemReason()
{
    return systemReason(errno);
}

bool isTemporaryName(const QString &name)
{
    // ".~save." + at least one character of the file + "." + 8 characters.
    if (!name.startsWith(TemporaryPrefix) || name.size() < TemporaryPrefix.size() + 10)
        return false;
    if (name.at(name.size() - 9) != u'.')
        return false;
    for (qsizetype i = name.size() - 8; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

int removeStrayTemporaries(const QString &folder, int minAgeSeconds)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return 0;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minAgeSeconds);
    int removed = 0;
    const QFileInfoList entries =
        dir.entryInfoList({TemporaryPrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : entries) {
        if (!isTemporaryName(info.fileName()) || info.lastModified().toUTC() > before)
            continue;
        if (QFile::remove(info.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

#ifdef Q_OS_UNIX

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    const QFileInfo target(path);
    const QString tempPath = target.absoluteDir().filePath(temporaryName(target.fileName()));
    const QByteArray tempName = QFile::encodeName(tempPath);
    auto fail = [&](int errorNumber) {
        if (error)
            *error = failure(path, systemReason(errorNumber));
        return false;
    };

    // An existing file keeps its permissions; a new one gets the usual ones.
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR);
        mode = st.st_mode & 07777;
    }
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return fail(errno);
    if (mode != 0666)
        ::fchmod(fd, mode);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int e = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(tempName.constData());
            return fail(e);
        }
        data += n;
        left -= n;
    }
    // The content reaches the disk before the name points at it.
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const int e = errno;
        ::close(fd);
        ::unlink(tempName.constData());
        return fail(e);
    }
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tempName.constData());
        return fail(e);
    }
    if (::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        const int e = errno;
        ::unlink(tempName.constData());
        return fail(e);
    }
    const int dirFd = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#else

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = failure(path, file.errorString());
    return false;
}

#endif

} // namespace AtomicFile
