#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <memory>
#include <variant>
#include <vector>

namespace IniFileDetail {

// A section or key name: hashed and compared without regard to case, and
// without making a lower-case copy for every lookup.
struct Name {
    QString text;
    friend bool operator==(const Name &a, const Name &b)
    {
        return a.text.size() == b.text.size() && a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
};
size_t qHash(const Name &name, size_t seed = 0) noexcept;

} // namespace IniFileDetail

// An INI file with the semantics of the platform's private-profile access:
// section and key names match without regard to case, values are read
// trimmed and without one matching pair of enclosing quotes and at most 2047
// bytes long, the first of duplicate keys or sections wins, an existing key is
// updated in place, a new key goes to the end of its section and a new
// section to the end of the file.
//
// The file (CP932) is parsed once when the object is made; writes change the
// memory copy and flush() writes them back in one atomic step. Lines the
// program does not touch are written back byte for byte.
//
// Several processes share these files, so a flush is a merge: under a lock
// file beside the file (held for the read-merge-write only) it reads the
// file as it is on disk now, applies the keys this object wrote or deleted
// since the last flush, and replaces the file. Keys that another process
// changed meanwhile stay as that process left them. A file that exists but
// cannot be read is never written.
class IniFile {
public:
    explicit IniFile(const QString &path);
    // An INI text held in memory (a file's bytes): read-only use, and
    // toBytes() for what a flush would write. It has no path and never
    // flushes to disk.
    static IniFile fromBytes(QByteArray bytes);

    const QString &path() const { return path_; }
    // False when the file existed but could not be read; unreadableReason()
    // tells why, in the system's words.
    bool readable() const { return readable_; }
    const QString &unreadableReason() const { return unreadableReason_; }

    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    // Delphi-style integer: decimal with optional sign, or hex after "0x"/"$";
    // anything else (also out of range) gives def.
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    // Names in file order, as spelled in the file.
    QStringList sections() const;
    QStringList keys(const QString &section) const;
    // How many key lines the section holds (duplicates included).
    qsizetype keyLineCount(const QString &section) const;

    // Writes a value. Line breaks inside the value are turned into blanks so
    // that a value can never open a key or section of its own. Characters
    // without a CP932 form are collected in unmappableCharacters().
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, qint64 value);
    void writeBool(const QString &section, const QString &key, bool value);
    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

    // The bytes of a key line as writeString() stores them: "key=value" in
    // CP932 without the line break, line breaks in the value turned into
    // blanks. Characters CP932 cannot hold are added to *unmappable. For
    // files of this form written as a stream instead of through an object.
    static QByteArray keyLine(const QString &key, const QString &value, QString *unmappable);
    // Files are read up to this size; a line's parts are counted in 32 bits.
    static constexpr qint64 MaxFileBytes = std::numeric_limits<qint32>::max();
    // For a file that no other process writes (a temporary of this run):
    // no record of changes is kept to merge with, and a flush writes the
    // picture here without reading the file back. Saves the memory of a
    // large file written once. Call before the first write.
    void setPrivate()
    {
        private_ = true;
        recording_ = false;
    }

    // Characters written since construction that CP932 cannot hold.
    const QString &unmappableCharacters() const { return unmappable_; }
    bool isDirty() const { return dirty_; }

    // Writes the changes back when anything changed (see above). On failure
    // returns false with "<path> に書き込めません: <reason>" in *error and
    // leaves the file as it was.
    bool flush(QString *error = nullptr);

    // The file as the next flush would write it (when nobody else wrote it).
    QByteArray toBytes() const { return serialize(); }

    // Reads the file, lets change edit it and writes it back, all under the
    // file's lock, so that no other process reads or writes it in between:
    // for counters that must never hand out one value twice. change returns
    // false to write nothing.
    static bool update(const QString &path, const std::function<bool(IniFile &)> &change,
                       QString *error = nullptr);

    // The lock file that guards writes of the file at path.
    static QString lockPathFor(const QString &path);

private:
    // A line as read: a slice of the file's bytes. Its value is decoded when
    // asked for, so that a large file costs little more than its bytes: a
    // line of a long slip takes 64 bytes here besides its own.
    struct Slice {
        qsizetype start;
        qint32 length;     // without the line break
        qint32 valueStart; // the value's trimmed bytes, from start
        qint32 valueEnd;
    };
    // A line the program wrote: its bytes and the value as given.
    struct Written {
        QByteArray raw;
        QString value; // trimmed and unquoted
    };
    static std::unique_ptr<const Written> written(QByteArray raw, const QString &value);
    // keyLine() of a value whose line breaks are already blanks.
    static QByteArray encodedLine(const QString &key, const QString &sanitized, QString *unmappable);
    struct Line {
        std::variant<Slice, std::unique_ptr<const Written>> text;
        QString key; // empty for lines that are not keys
        bool removed = false;
    };
    struct Section {
        QString name;      // as spelled; empty name for lines before the first section
        QByteArray header; // the raw "[name]" line; empty for the leading block
        std::vector<Line> lines;
        QHash<IniFileDetail::Name, qsizetype> index; // key -> first line with it
        bool removed = false;
    };

    // One change since the last flush, replayed onto the file as it is on
    // disk when another process changed it meanwhile.
    struct Change {
        enum Kind { Write, DeleteKey, EraseSection } kind;
        QString section;
        QString key;
        QString value;
    };

    IniFile(const QString &path, QByteArray bytes);
    void load();
    bool readDisk(bool *exists, QByteArray *bytes, QString *reason) const;
    QByteArray serialize() const;
    bool writeLocked(QString *error);
    void parse(QByteArray bytes);
    void parseLine(qsizetype start, qsizetype end);
    QByteArrayView rawOf(const Line &line) const;
    QString valueOf(const Line &line) const;
    qsizetype sectionPosition(const QString &name) const;
    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    const Line *findLine(const QString &section, const QString &key) const;
    static QString unquote(QString value);
    static QString clipTo2047Bytes(const QString &value);

    QString path_;
    QByteArray bytes_; // the file as read; unchanged lines point into it
    bool readable_ = true;
    QString unreadableReason_;
    bool existed_ = false; // the file was there when last read
    bool dirty_ = false;
    bool recording_ = true;
    bool private_ = false;
    std::vector<Change> changes_;
    std::vector<Section> sections_;
    QHash<IniFileDetail::Name, qsizetype> sectionIndex_; // name -> first live section
    QString unmappable_;
    mutable QString lastSectionName_; // exact spelling of the last section looked up
    mutable qsizetype lastSectionPos_ = -1;
};
