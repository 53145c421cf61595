#include "MemoOptions.h"

#include "platform/CommaText.h"
#include "platform/TextList.h"

using namespace Qt::StringLiterals;

namespace {

template <std::size_t N> std::array<QString, N> fieldsOf(const QString &line)
{
    const QStringList fields = CommaText::split(line);
    std::array<QString, N> out;
    for (std::size_t i = 0; i < N && qsizetype(i) < fields.size(); ++i)
        out[i] = fields.at(qsizetype(i));
    return out;
}

template <std::size_t N> QString lineOf(const std::array<QString, N> &fields)
{
    return CommaText::join(QStringList(fields.begin(), fields.end()));
}

} // namespace

MemoOptions MemoOptions::read(const QString &path, bool *ok)
{
    const QStringList lines = TextList::read(path, ok);
    MemoOptions memo;
    if (!lines.isEmpty())
        memo.greetings = fieldsOf<GreetingCount>(lines.first());
    for (qsizetype i = 1; i < lines.size(); ++i)
        memo.notes.append(fieldsOf<NoteLines>(lines.at(i)));
    return memo;
}

QStringList MemoOptions::lines() const
{
    QStringList out{lineOf(greetings)};
    for (const Note &note : notes)
        out.append(lineOf(note));
    return out;
}

bool MemoOptions::write(const QString &path, QString *error) const
{
    return TextList::write(path, lines(), error);
}
