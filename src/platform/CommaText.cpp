#include "CommaText.h"

namespace {

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

bool needsQuotes(const QString &field)
{
    for (QChar c : field)
        if (c.unicode() <= 32 || c == u',' || c == u'"')
            return true;
    return false;
}

} // namespace

namespace CommaText {

QString join(const QStringList &fields)
{
    if (fields.size() == 1 && fields.first().isEmpty())
        return QStringLiteral("\"\"");
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        const QString &f = fields.at(i);
        if (needsQuotes(f)) {
            out += u'"';
            for (QChar c : f) {
                if (c == u'"')
                    out += u'"';
                out += c;
            }
            out += u'"';
        } else {
            out += f;
        }
    }
    return out;
}

QStringList split(const QString &input)
{
    QStringList fields;
    const qsizetype nul = input.indexOf(QChar(0));
    const QStringView text = nul < 0 ? QStringView(input) : QStringView(input).left(nul);
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && isBlank(text[p]))
        ++p;
    while (p < n) {
        QString field;
        if (text[p] == u'"') {
            ++p;
            while (p < n) {
                if (text[p] == u'"') {
                    if (p + 1 < n && text[p + 1] == u'"') {
                        field += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                field += text[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && text[p].unicode() > 32 && text[p] != u',')
                ++p;
            field = text.mid(start, p - start).toString();
        }
        fields.append(field);
        while (p < n && isBlank(text[p]))
            ++p;
        if (p < n && text[p] == u',') {
            if (p + 1 == n)
                fields.append(QString());
            do
                ++p;
            while (p < n && isBlank(text[p]));
        }
    }
    return fields;
}

} // namespace CommaText
