#include "Backups.h"
#include "ZipLibrary.h"

#include "platform/AppFolder.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QRegularExpression &archiveForm()
{
    static const QRegularExpression form(u"^torvane-backup-(\\d{8})(?:-(\\d+))?\\.zip$"_s);
    return form;
}

// Sorts by day, then by the number within the day (the first has none).
std::pair<QString, int> archiveKey(const QString &name)
{
    const QRegularExpressionMatch m = archiveForm().match(name);
    return {m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()};
}

// What stays out of an archive below Dat/: the folders of passing state and
// the archives, and slips wherever they are kept.
bool kept(const QString &relative)
{
    static const QStringList skippedFolders = {u"Dat/Tmp/"_s, u"Dat/Recovery/"_s, u"Dat/Backup/"_s};
    for (const QString &folder : skippedFolders) {
        if (relative.startsWith(folder, Qt::CaseInsensitive))
            return false;
    }
    const QFileInfo info(relative);
    const QString suffix = info.suffix().toLower();
    // Lock files and the temporaries of a save are hidden files.
    return suffix != u"tvx"_s && suffix != u"tvr"_s && !info.fileName().startsWith(u'.') &&
           !AtomicFile::isTemporaryName(info.fileName());
}

// An entry may only name a file below Dat/ or a settings file beside it:
// an archive from elsewhere must not write outside the application folder.
bool safeEntry(const QString &name)
{
    if (name.isEmpty() || name.contains(u'\\') || name.startsWith(u'/') || name.contains(u':'))
        return false;
    const QStringList parts = name.split(u'/');
    for (const QString &part : parts) {
        if (part.isEmpty() || part == u"."_s || part == u".."_s)
            return false;
    }
    return (parts.size() > 1 && parts.first() == u"Dat"_s) ||
           (parts.size() == 1 && name.endsWith(u".ini"_s, Qt::CaseInsensitive));
}

bool writeArchive(const QString &target, const AppFolder &app, const QStringList &files, QString *error)
{
    const ZipLibrary *z = ZipLibrary::get(error);
    if (!z)
        return false;
    int code = 0;
    zip_t *zip = z->open(QFile::encodeName(target).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        *error = QDir::toNativeSeparators(target) + u" を作れません: "_s + z->reason(code);
        return false;
    }
    // The sources read their buffers when the archive is closed.
    std::vector<QByteArray> contents;
    contents.reserve(size_t(files.size()));
    for (const QString &relative : files) {
        QFile f(app.path() + relative);
        if (!f.open(QIODevice::ReadOnly)) {
            *error = QDir::toNativeSeparators(f.fileName()) + u" を読み込めません: "_s + f.errorString();
            z->discard(zip);
            return false;
        }
        contents.push_back(f.readAll());
        const QByteArray &bytes = contents.back();
        zip_source_t *source = z->sourceBuffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!source || z->fileAdd(zip, relative.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                z->sourceFree(source);
            *error = QDir::toNativeSeparators(target) + u" に書き込めません: "_s +
                     QString::fromUtf8(z->strerror(zip));
            z->discard(zip);
            return false;
        }
    }
    // libzip writes a temporary file and renames it when closing: an archive
    // is there whole or not at all.
    if (z->close(zip) < 0) {
        *error = QDir::toNativeSeparators(target) + u" に書き込めません: "_s +
                 QString::fromUtf8(z->strerror(zip));
        z->discard(zip);
        return false;
    }
    return true;
}

void prune(const QString &folder)
{
    QStringList all = Backups::archives(folder);
    while (all.size() > Backups::Kept)
        QFile::remove(folder + all.takeFirst());
}

} // namespace

namespace Backups {

QString archiveName(QDate day, int sequence)
{
    QString name = u"torvane-backup-"_s + day.toString(u"yyyyMMdd"_s);
    if (sequence > 1)
        name += u'-' + QString::number(sequence);
    return name + u".zip"_s;
}

QStringList archives(const QString &folder)
{
    QStringList names;
    for (const QString &name : QDir(folder).entryList({u"torvane-backup-*.zip"_s}, QDir::Files)) {
        if (archiveForm().match(name).hasMatch())
            names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return archiveKey(a) < archiveKey(b); });
    return names;
}

QStringList filesToKeep(const AppFolder &app)
{
    QStringList files;
    const QString settings = QFileInfo(app.settingsFile()).fileName();
    if (QFileInfo(app.settingsFile()).isFile())
        files << settings;
    const QDir root(app.path().isEmpty() ? u"."_s : app.path());
    QDirIterator it(app.dataFolder(), QDir::Files, QDirIterator::Subdirectories);
    QStringList data;
    while (it.hasNext()) {
        const QString relative = root.relativeFilePath(it.next());
        if (kept(relative))
            data << relative;
    }
    data.sort();
    return files + data;
}

QString make(const AppFolder &app, const QDateTime &now, QString *error)
{
    const QString folder = app.backupFolder();
    if (!QDir().mkpath(folder)) {
        *error = QDir::toNativeSeparators(folder) + u" を作れません: "_s + AtomicFile::lastSystemReason();
        return {};
    }
    int sequence = 1;
    while (QFileInfo::exists(folder + archiveName(now.date(), sequence)))
        ++sequence;
    const QString target = folder + archiveName(now.date(), sequence);
    if (!writeArchive(target, app, filesToKeep(app), error))
        return {};
    prune(folder);
    return target;
}

QString makeDaily(const AppFolder &app, const QDateTime &now, QString *error)
{
    const QString today = now.date().toString(u"yyyyMMdd"_s);
    for (const QString &name : archives(app.backupFolder())) {
        if (archiveKey(name).first == today)
            return {};
    }
    return make(app, now, error);
}

bool restore(const AppFolder &app, const QString &archive, QString *error)
{
    const QString shown = QDir::toNativeSeparators(archive);
    const ZipLibrary *z = ZipLibrary::get(error);
    if (!z)
        return false;
    int code = 0;
    zip_t *zip = z->open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip) {
        *error = shown + u" を開けません: "_s + z->reason(code);
        return false;
    }
    std::vector<std::pair<QString, QByteArray>> entries;
    const zip_int64_t count = z->getNumEntries(zip, 0);
    bool ok = true;
    for (zip_int64_t i = 0; ok && i < count; ++i) {
        const QString name = QString::fromUtf8(z->getName(zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS));
        if (name.endsWith(u'/'))
            continue; // a folder entry
        zip_stat_t st;
        if (!safeEntry(name) || z->statIndex(zip, zip_uint64_t(i), 0, &st) < 0 ||
            !(st.valid & ZIP_STAT_SIZE) || st.size > zip_uint64_t(64) * 1024 * 1024) {
            *error = shown + u" は復元できない項目を含みます: "_s + name;
            ok = false;
            break;
        }
        QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
        zip_file_t *file = z->fopenIndex(zip, zip_uint64_t(i), 0);
        const zip_int64_t read = file ? z->fread(file, bytes.data(), st.size) : -1;
        if (file)
            z->fclose(file);
        if (read != zip_int64_t(st.size)) {
            *error = shown + u" を読み込めません: "_s + name;
            ok = false;
            break;
        }
        entries.emplace_back(name, std::move(bytes));
    }
    z->discard(zip);
    if (!ok)
        return false;
    for (const auto &[name, bytes] : entries) {
        const QString target = app.path() + name;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!AtomicFile::write(target, bytes, error))
            return false;
    }
    return true;
}

} // namespace Backups
