#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

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
// memory copy and flush() writes it back in one atomic step. Lines the
// program does not touch are written back byte for byte.
class IniFile {
public:
    explicit IniFile(const QString &path);

    const QString &path() const { return path_; }
    // False when the file existed but could not be read.
    bool readable() const { return readable_; }

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

    // Characters written since construction that CP932 cannot hold.
    const QString &unmappableCharacters() const { return unmappable_; }
    bool isDirty() const { return dirty_; }

    // Writes the file back when anything changed. On failure returns false
    // with "<path> に書き込めません" in *error.
    bool flush(QString *error = nullptr);

private:
    struct Line {
        // The line as stored, without its line break: a slice of the file's
        // bytes until the program rewrites it, then bytes of its own.
        qsizetype start = 0;
        qsizetype length = 0;
        QByteArray own;
        bool owned = false;
        QString key;   // empty for lines that are not keys
        QString value; // trimmed and unquoted
        bool removed = false;
    };
    struct Section {
        QString name;      // as spelled; empty name for lines before the first section
        QByteArray header; // the raw "[name]" line; empty for the leading block
        std::vector<Line> lines;
        QHash<IniFileDetail::Name, qsizetype> index; // key -> first line with it
        bool removed = false;
    };

    void parse(QByteArray bytes);
    void parseLine(qsizetype start, qsizetype end);
    QByteArrayView rawOf(const Line &line) const;
    qsizetype sectionPosition(const QString &name) const;
    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    const Line *findLine(const QString &section, const QString &key) const;
    static QString unquote(QString value);
    static QString clipTo2047Bytes(const QString &value);

    QString path_;
    QByteArray bytes_; // the file as read; unchanged lines point into it
    bool readable_ = true;
    bool dirty_ = false;
    std::vector<Section> sections_;
    QHash<IniFileDetail::Name, qsizetype> sectionIndex_; // name -> first live section
    QString unmappable_;
    mutable QString lastSectionName_; // exact spelling of the last section looked up
    mutable qsizetype lastSectionPos_ = -1;
};
