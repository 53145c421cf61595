#include "IniFile.h"

#include "AtomicFile.h"
#include "Cp932.h"
#include "IntText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <cerrno>

namespace {

constexpr qsizetype MaxValueBytes = 2047;
// How long a write waits for another process's read-merge-write of the same
// file; those take milliseconds.
constexpr int LockWaitMs = 10000;

using IniFileDetail::Name;

bool isBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// Bounds of bytes[start, end) without blanks at either end. CP932 trail
// bytes are never blanks, so this is safe before decoding.
void trimBounds(const char *d, qsizetype &start, qsizetype &end)
{
    while (start < end && isBlankByte(d[start]))
        ++start;
    while (end > start && isBlankByte(d[end - 1]))
        --end;
}

bool isBlankLine(QByteArrayView line)
{
    for (char c : line)
        if (!isBlankByte(c))
            return false;
    return true;
}

QString decodeSlice(const char *d, qsizetype start, qsizetype end)
{
    return Cp932::decode(QByteArray::fromRawData(d + start, end - start));
}

QString sanitizeValue(const QString &value)
{
    if (!value.contains(u'\r') && !value.contains(u'\n'))
        return value;
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    return v;
}

QString TooLarge()
{
    return QStringLiteral("ファイルが大きすぎます（2 GB を超えています）");
}

} // namespace

size_t IniFileDetail::qHash(const Name &name, size_t seed) noexcept
{
    // Fold the way the case-insensitive comparison does; ASCII by hand.
    size_t h = seed ^ size_t(name.text.size());
    for (QChar c : name.text) {
        char16_t u = c.unicode();
        if (u < 0x80) {
            if (u >= u'A' && u <= u'Z')
                u = char16_t(u + 32);
        } else {
            u = QChar::toCaseFolded(u);
        }
        h = h * 31 + u;
    }
    // Names differ mostly in their last digits ("Price00012"); spread them
    // over all bits so the table's probing stays short.
    quint64 x = quint64(h);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return size_t(x);
}

IniFile::IniFile(const QString &path) : path_(path)
{
    sections_.push_back(Section{}); // lines before the first section header
    QByteArray bytes;
    if (!readDisk(&existed_, &bytes, &unreadableReason_)) {
        readable_ = false;
        existed_ = true;
        return;
    }
    parse(std::move(bytes));
}

IniFile::IniFile(const QString &path, QByteArray bytes) : path_(path), existed_(true), recording_(false)
{
    sections_.push_back(Section{});
    if (bytes.size() > MaxFileBytes) {
        readable_ = false;
        unreadableReason_ = TooLarge();
        return;
    }
    parse(std::move(bytes));
}

IniFile IniFile::fromBytes(QByteArray bytes)
{
    return IniFile(QString(), std::move(bytes));
}

QString IniFile::lockPathFor(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".lock"));
}

bool IniFile::readDisk(bool *exists, QByteArray *bytes, QString *reason) const
{
    const QFileInfo info(path_);
    *exists = info.exists();
    if (!*exists)
        return true;
    if (info.isDir()) {
        *reason = AtomicFile::systemReason(EISDIR);
        return false;
    }
    if (info.size() > MaxFileBytes) {
        *reason = TooLarge();
        return false;
    }
    QFile f(path_);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) {
        const int e = errno;
        *reason = f.error() == QFileDevice::PermissionsError ? AtomicFile::systemReason(EACCES)
                  : e != 0                                   ? AtomicFile::systemReason(e)
                                                             : f.errorString();
        return false;
    }
    // Read in one piece of the file's size: reading to the end in growing
    // steps would hold up to twice a large file for a moment.
    const qint64 size = f.size();
    bytes->resize(qsizetype(size));
    const qint64 got = size > 0 ? f.read(bytes->data(), size) : 0;
    bytes->truncate(qsizetype(qMax<qint64>(got, 0)));
    if (got == size && size > 0)
        bytes->append(f.readAll()); // the file grew while it was read
    else if (size == 0)
        *bytes = f.readAll(); // a file that does not say its size
    if (f.error() != QFileDevice::NoError) {
        *reason = f.errorString();
        return false;
    }
    return true;
}

void IniFile::parse(QByteArray bytes)
{
    bytes_ = std::move(bytes);
    const char *d = bytes_.constData();
    const qsizetype n = bytes_.size();
    // Lines end at CR, LF or CR LF; CP932 trail bytes are never CR or LF.
    auto forEachLine = [d, n](auto &&onLine) {
        qsizetype p = 0;
        while (p < n) {
            qsizetype e = p;
            while (e < n && d[e] != '\r' && d[e] != '\n')
                ++e;
            onLine(p, e);
            p = (e + 1 < n && d[e] == '\r' && d[e + 1] == '\n') ? e + 2 : e + 1;
        }
    };
    // The lines of each section are counted first, so that a large file
    // takes its line table in one piece instead of twice its size in
    // doubling steps.
    std::vector<qsizetype> counts(1, 0);
    forEachLine([&](qsizetype p, qsizetype e) {
        trimBounds(d, p, e);
        if (p < e && d[p] == '[')
            counts.push_back(0);
        else
            ++counts.back();
    });
    size_t next = 0;
    auto reserveFor = [&] {
        if (next < counts.size()) {
            Section &s = sections_.back();
            s.lines.reserve(s.lines.size() + size_t(counts[next]));
            s.index.reserve(s.index.size() + counts[next]);
            ++next;
        }
    };
    reserveFor();
    forEachLine([&](qsizetype p, qsizetype e) {
        const size_t before = sections_.size();
        parseLine(p, e);
        if (sections_.size() != before)
            reserveFor();
    });
}

void IniFile::parseLine(qsizetype start, qsizetype end)
{
    const char *d = bytes_.constData();
    qsizetype ts = start;
    qsizetype te = end;
    trimBounds(d, ts, te);
    if (ts < te && d[ts] == '[') {
        const QString trimmed = decodeSlice(d, ts, te);
        const qsizetype close = trimmed.indexOf(u']');
        Section s;
        s.name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
        s.header = QByteArray(d + start, end - start);
        const Name k{s.name};
        if (!sectionIndex_.contains(k))
            sectionIndex_.insert(k, qsizetype(sections_.size()));
        sections_.push_back(std::move(s));
        return;
    }
    Section &cur = sections_.back();
    Line line;
    Slice slice{start, qint32(end - start), 0, 0};
    const char *eq = ts < te ? static_cast<const char *>(memchr(d + ts, '=', size_t(te - ts))) : nullptr;
    if (eq && eq > d + ts && d[ts] != ';') {
        qsizetype ks = ts;
        qsizetype ke = eq - d;
        trimBounds(d, ks, ke);
        if (ks < ke) {
            line.key = decodeSlice(d, ks, ke);
            qsizetype vs = (eq - d) + 1;
            qsizetype ve = te;
            trimBounds(d, vs, ve);
            slice.valueStart = qint32(vs - start);
            slice.valueEnd = qint32(ve - start);
            const Name k{line.key};
            if (!cur.index.contains(k))
                cur.index.insert(k, qsizetype(cur.lines.size()));
        }
    }
    line.text = slice;
    cur.lines.push_back(std::move(line));
}

QByteArrayView IniFile::rawOf(const Line &line) const
{
    if (const auto *w = std::get_if<std::unique_ptr<const Written>>(&line.text))
        return QByteArrayView((*w)->raw);
    const Slice &s = std::get<Slice>(line.text);
    return QByteArrayView(bytes_.constData() + s.start, s.length);
}

QString IniFile::valueOf(const Line &line) const
{
    if (const auto *w = std::get_if<std::unique_ptr<const Written>>(&line.text))
        return (*w)->value;
    const Slice &s = std::get<Slice>(line.text);
    return clipTo2047Bytes(
        unquote(decodeSlice(bytes_.constData(), s.start + s.valueStart, s.start + s.valueEnd)));
}

QString IniFile::unquote(QString value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QString IniFile::clipTo2047Bytes(const QString &value)
{
    // Each UTF-16 unit is at most two bytes in CP932.
    if (value.size() * 2 <= MaxValueBytes)
        return value;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const ushort u = value.at(i).unicode();
        // Half-width katakana and ASCII are one byte, everything else two.
        const int width = (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
        if (bytes + width > MaxValueBytes)
            return value.left(i);
        bytes += width;
    }
    return value;
}

qsizetype IniFile::sectionPosition(const QString &name) const
{
    // Callers read or write many keys of one section in a row.
    if (!lastSectionName_.isNull() && lastSectionName_ == name)
        return lastSectionPos_;
    const auto it = sectionIndex_.constFind(Name{name});
    lastSectionName_ = name;
    lastSectionPos_ = it == sectionIndex_.cend() ? -1 : it.value();
    return lastSectionPos_;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    const qsizetype pos = sectionPosition(name);
    return pos < 0 ? nullptr : &sections_[size_t(pos)];
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    const qsizetype pos = sectionPosition(name);
    return pos < 0 ? nullptr : &sections_[size_t(pos)];
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    const auto it = s->index.constFind(Name{key});
    return it == s->index.cend() ? nullptr : &s->lines[size_t(it.value())];
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Line *l = findLine(section, key);
    return l ? valueOf(*l) : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const Line *l = findLine(section, key);
    return l ? IntText::toIntDef(valueOf(*l), def) : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    QHash<Name, bool> seen;
    for (size_t i = 1; i < sections_.size(); ++i) {
        const Section &s = sections_[i];
        if (s.removed)
            continue;
        const Name k{s.name};
        if (seen.contains(k))
            continue;
        seen.insert(k, true);
        names.append(s.name);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    const Section *s = findSection(section);
    if (!s)
        return names;
    for (size_t i = 0; i < s->lines.size(); ++i) {
        const Line &l = s->lines[i];
        if (!l.removed && !l.key.isEmpty() && s->index.value(Name{l.key}, -1) == qsizetype(i))
            names.append(l.key);
    }
    return names;
}

qsizetype IniFile::keyLineCount(const QString &section) const
{
    const Section *s = findSection(section);
    if (!s)
        return 0;
    qsizetype n = 0;
    for (const Line &l : s->lines)
        n += (!l.removed && !l.key.isEmpty()) ? 1 : 0;
    return n;
}

std::unique_ptr<const IniFile::Written> IniFile::written(QByteArray raw, const QString &value)
{
    return std::make_unique<const Written>(
        Written{std::move(raw), clipTo2047Bytes(unquote(value.trimmed()))});
}

QByteArray IniFile::keyLine(const QString &key, const QString &value, QString *unmappable)
{
    return encodedLine(key, sanitizeValue(value), unmappable);
}

QByteArray IniFile::encodedLine(const QString &key, const QString &sanitized, QString *unmappable)
{
    return Cp932::encode(key, unmappable) + '=' + Cp932::encode(sanitized, unmappable);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (recording_)
        changes_.push_back(Change{Change::Write, section, key, value});
    const QString v = sanitizeValue(value);
    dirty_ = true;
    Section *s = findSection(section);
    if (!s) {
        Section fresh;
        fresh.name = section;
        fresh.header = '[' + Cp932::encode(section, &unmappable_) + ']';
        sectionIndex_.insert(Name{section}, qsizetype(sections_.size()));
        lastSectionName_ = QString();
        sections_.push_back(std::move(fresh));
        s = &sections_.back();
    }
    const Name k{key};
    if (const auto it = s->index.constFind(k); it != s->index.cend()) {
        Line &l = s->lines[size_t(it.value())];
        l.text = written(encodedLine(l.key, v, &unmappable_), v);
        return;
    }
    // A new key goes after the last non-blank line of its section, so blank
    // lines that separate sections stay where they are.
    qsizetype pos = qsizetype(s->lines.size());
    while (pos > 0 && (s->lines[size_t(pos - 1)].removed || isBlankLine(rawOf(s->lines[size_t(pos - 1)]))))
        --pos;
    Line line;
    line.text = written(encodedLine(key, v, &unmappable_), v);
    line.key = key;
    s->lines.insert(s->lines.begin() + pos, std::move(line));
    if (pos != qsizetype(s->lines.size()) - 1) {
        // Lines moved: rebuild this section's index (rare: only with trailing blanks).
        s->index.clear();
        for (size_t i = 0; i < s->lines.size(); ++i) {
            const Line &l = s->lines[i];
            if (!l.removed && !l.key.isEmpty() && !s->index.contains(Name{l.key}))
                s->index.insert(Name{l.key}, qsizetype(i));
        }
    } else {
        s->index.insert(k, pos);
    }
}

void IniFile::writeInteger(const QString &section, const QString &key, qint64 value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    Section *s = findSection(section);
    if (!s)
        return;
    const Name k{key};
    const auto it = s->index.constFind(k);
    if (it == s->index.cend())
        return;
    if (recording_)
        changes_.push_back(Change{Change::DeleteKey, section, key, {}});
    s->lines[size_t(it.value())].removed = true;
    s->index.erase(it);
    // A later duplicate of the key now becomes the visible one.
    for (size_t i = 0; i < s->lines.size(); ++i) {
        const Line &l = s->lines[i];
        if (!l.removed && Name{l.key} == k) {
            s->index.insert(k, qsizetype(i));
            break;
        }
    }
    dirty_ = true;
}

void IniFile::eraseSection(const QString &section)
{
    const Name k{section};
    bool any = false;
    for (size_t i = 1; i < sections_.size(); ++i) {
        if (!sections_[i].removed && Name{sections_[i].name} == k) {
            sections_[i].removed = true;
            any = true;
        }
    }
    if (any) {
        if (recording_)
            changes_.push_back(Change{Change::EraseSection, section, {}, {}});
        sectionIndex_.remove(k);
        lastSectionName_ = QString();
        dirty_ = true;
    }
}

QByteArray IniFile::serialize() const
{
    QByteArray out;
    qsizetype size = 0;
    for (const Section &s : sections_)
        for (const Line &l : s.lines)
            size += rawOf(l).size() + 2;
    out.reserve(size + qsizetype(sections_.size()) * 32);
    for (const Section &s : sections_) {
        if (s.removed)
            continue;
        if (!s.header.isNull()) {
            out += s.header;
            out += "\r\n";
        }
        for (const Line &l : s.lines) {
            if (l.removed)
                continue;
            out += rawOf(l);
            out += "\r\n";
        }
    }
    return out;
}

namespace {

// QLockFile's own waiting doubles its pauses from 100 ms on; writers here
// hold the lock for milliseconds, so short pauses keep many processes moving.
bool takeLock(QLockFile &lock)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        errno = 0;
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError || timer.elapsed() > LockWaitMs)
            return false;
        QThread::usleep(500 + QRandomGenerator::global()->bounded(1500));
    }
}

bool lockFailed(const QString &path, const QLockFile &lock, QString *error)
{
    const int e = errno;
    if (!error)
        return false;
    QString reason;
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        reason = QStringLiteral("ほかのプログラムが書き込み中です");
        break;
    case QLockFile::PermissionError:
        reason = (e == EROFS || e == ENOENT || e == ENOSPC) ? AtomicFile::systemReason(e)
                                                            : AtomicFile::systemReason(EACCES);
        break;
    default:
        reason = e != 0 ? AtomicFile::systemReason(e) : QStringLiteral("ロックファイルを作れません");
        break;
    }
    *error = QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません: ") + reason;
    return false;
}

QString unreadableError(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) +
           QStringLiteral(" に書き込めません: 読み込めないファイルは書き換えません (") + reason + u')';
}

} // namespace

bool IniFile::flush(QString *error)
{
    if (!dirty_)
        return true;
    if (!readable_) {
        if (error)
            *error = unreadableError(path_, unreadableReason_);
        return false;
    }
    if (path_.isEmpty()) {
        if (error)
            *error = QStringLiteral("保存先のないファイルは書き込めません");
        return false;
    }
    QLockFile lock(lockPathFor(path_));
    if (!takeLock(lock))
        return lockFailed(path_, lock, error);
    return writeLocked(error);
}

bool IniFile::writeLocked(QString *error)
{
    if (!dirty_)
        return true;
    if (private_) {
        // Nobody else writes the file: what is here is written as it is and
        // stays the picture of the file.
        if (!AtomicFile::write(path_, serialize(), error))
            return false;
        existed_ = true;
        dirty_ = false;
        return true;
    }
    bool exists = false;
    QByteArray disk;
    QString reason;
    if (!readDisk(&exists, &disk, &reason)) {
        if (error)
            *error = unreadableError(path_, reason);
        return false;
    }
    if (exists == existed_ && disk == bytes_) {
        // Nobody else wrote the file since it was read: the picture here is current.
        const QByteArray out = serialize();
        if (!AtomicFile::write(path_, out, error))
            return false;
        sections_.clear();
        sectionIndex_.clear();
        sections_.push_back(Section{});
        parse(out);
    } else {
        // Another process wrote it: its keys stay, ours go over them.
        IniFile fresh(path_, disk);
        for (const Change &c : changes_) {
            switch (c.kind) {
            case Change::Write:
                fresh.writeString(c.section, c.key, c.value);
                break;
            case Change::DeleteKey:
                fresh.deleteKey(c.section, c.key);
                break;
            case Change::EraseSection:
                fresh.eraseSection(c.section);
                break;
            }
        }
        const QByteArray out = fresh.serialize();
        if (!AtomicFile::write(path_, out, error))
            return false;
        sections_.clear();
        sectionIndex_.clear();
        sections_.push_back(Section{});
        parse(out);
    }
    lastSectionName_ = QString();
    existed_ = true;
    changes_.clear();
    dirty_ = false;
    return true;
}

bool IniFile::update(const QString &path, const std::function<bool(IniFile &)> &change, QString *error)
{
    QLockFile lock(lockPathFor(path));
    if (!takeLock(lock))
        return lockFailed(path, lock, error);
    IniFile ini(path);
    if (!ini.readable()) {
        if (error)
            *error = unreadableError(path, ini.unreadableReason());
        return false;
    }
    if (!change(ini))
        return true;
    return ini.writeLocked(error);
}
