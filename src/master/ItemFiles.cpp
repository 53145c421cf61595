#include "ItemFiles.h"

#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/TextList.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ItemFiles {

QString kindName(Kind kind)
{
    return kind == Kind::Parts ? u"部品"_s : u"整備"_s;
}

Location::Location(const QString &appFolder) : folder(AppFolder(appFolder).itemFolder()) {}

QString Location::categoryFile() const
{
    return folder + u"Div.dat"_s;
}

QString Location::classFile(Kind kind) const
{
    return folder + (kind == Kind::Parts ? u"p.dat"_s : u"m.dat"_s);
}

QString Location::itemFile(Kind kind, const QString &code) const
{
    return folder + (kind == Kind::Parts ? u'p' : u'm') + code + u".csv"_s;
}

QStringList readLines(const QString &path, ReadReport *report)
{
    const QString file = QFileInfo(path).fileName();
    bool ok = false;
    const QStringList raw = TextList::read(path, &ok);
    if (!ok) {
        if (report)
            report->skipped.append(u"%1 を読み込めません"_s.arg(file));
        return {};
    }
    return checkedLines(raw, file, report);
}

QStringList checkedLines(const QStringList &raw, const QString &file, ReadReport *report)
{
    QStringList lines;
    lines.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString &line = raw.at(i);
        // The decoder turns every byte that is not CP932 into U+FFFD, which
        // CP932 itself cannot hold: such a line was not written by us.
        QString reason;
        if (line.size() > MaxLineLength)
            reason = u"長すぎる行"_s;
        else if (line.contains(QChar::ReplacementCharacter))
            reason = u"文字コードが正しくない行"_s;
        if (reason.isEmpty()) {
            lines.append(line);
        } else if (report) {
            report->skipped.append(
                u"%1 の %2 行目 (%3) を読み飛ばしました"_s.arg(file).arg(i + 1).arg(reason));
        }
    }
    return lines;
}

// ---- categories -------------------------------------------------------------------------

CategoryList CategoryList::read(const Location &where, ReadReport *report)
{
    CategoryList list;
    const QStringList lines = readLines(where.categoryFile(), report);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        if (CommaText::split(line).size() < 2) {
            if (report)
                report->skipped.append(
                    u"Div.dat の %1 行目 (分類コードがない行) を読み飛ばしました"_s.arg(i + 1));
            continue;
        }
        list.lines_.append(line);
    }
    return list;
}

bool CategoryList::write(const Location &where, QString *error) const
{
    return TextList::write(where.categoryFile(), lines_, error);
}

CategoryList CategoryList::fromLines(const QStringList &lines)
{
    CategoryList list;
    list.lines_ = lines;
    return list;
}

QString CategoryList::name(int index) const
{
    return CommaText::split(lines_.value(index)).value(0);
}

QString CategoryList::code(int index) const
{
    return CommaText::split(lines_.value(index)).value(1);
}

QStringList CategoryList::names() const
{
    QStringList out;
    out.reserve(lines_.size());
    for (int i = 0; i < size(); ++i)
        out.append(name(i));
    return out;
}

int CategoryList::indexOf(const QString &name) const
{
    for (int i = 0; i < size(); ++i)
        if (this->name(i) == name)
            return i;
    return -1;
}

void CategoryList::append(const QString &name, const QString &code)
{
    lines_.append(CommaText::join({name, code}));
}

void CategoryList::remove(int index)
{
    if (index >= 0 && index < size())
        lines_.removeAt(index);
}

void CategoryList::rename(int index, const QString &name)
{
    if (index < 0 || index >= size())
        return;
    QStringList fields = CommaText::split(lines_.at(index));
    if (fields.isEmpty())
        fields.append(QString());
    fields[0] = name;
    lines_[index] = CommaText::join(fields);
}

int CategoryList::indexAfterRemoval(int removed, int sizeAfter)
{
    if (sizeAfter <= 0)
        return -1;
    return qBound(0, removed, sizeAfter - 1);
}

// ---- vehicle classes and items ------------------------------------------------------------

QStringList readClasses(const Location &where, Kind kind, ReadReport *report)
{
    return readLines(where.classFile(kind), report);
}

bool writeClasses(const Location &where, Kind kind, const QStringList &names, QString *error)
{
    return TextList::write(where.classFile(kind), names, error);
}

QList<QStringList> readItems(const QString &path, ReadReport *report)
{
    return itemRows(readLines(path, report));
}

QList<QStringList> itemRows(const QStringList &lines)
{
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString &line : lines) {
        QStringList cells = CommaText::split(line);
        for (QString &cell : cells)
            if (cell == u" "_s)
                cell.clear();
        rows.append(cells);
    }
    return rows;
}

bool writeItems(const QString &path, const QList<QStringList> &rows, QString *error)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (const QStringList &row : rows)
        lines.append(CommaText::join(row));
    return TextList::write(path, lines, error);
}

bool createCategoryFiles(const Location &where, const QString &code, QString *error)
{
    for (Kind kind : {Kind::Maintenance, Kind::Parts}) {
        const qsizetype classes = readClasses(where, kind, nullptr).size();
        const QStringList emptyRow(classes, QString());
        if (!TextList::write(where.itemFile(kind, code), {CommaText::join(emptyRow)}, error))
            return false;
    }
    return true;
}

bool removeCategoryFiles(const Location &where, const QString &code)
{
    bool ok = true;
    for (Kind kind : {Kind::Maintenance, Kind::Parts}) {
        const QString path = where.itemFile(kind, code);
        if (QFileInfo::exists(path) && !QFile::remove(path))
            ok = false;
    }
    return ok;
}

} // namespace ItemFiles
