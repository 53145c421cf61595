#include "RegistrationNumber.h"

using namespace Qt::StringLiterals;

namespace RegistrationNumber {

QString normalise(const QString &typed)
{
    QString out;
    out.reserve(typed.size());
    for (QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) // full-width ASCII block
            c = QChar(char16_t(u - 0xFEE0));
        if (c == u' ' || c == u'\u3000' || c == u'-' || c == u'\u2010' || c == u'\u2212' || c == u'\u30FC')
            continue;
        out.append(c);
    }
    if (out.startsWith(u't'))
        out[0] = u'T';
    if (out.size() == 13 && !out.startsWith(u'T')) {
        bool digits = true;
        for (QChar c : out)
            digits = digits && c >= u'0' && c <= u'9';
        if (digits)
            out.prepend(u'T');
    }
    return out;
}

int checkDigit(const QString &twelveDigits)
{
    if (twelveDigits.size() != 12)
        return -1;
    int sum = 0;
    // Counted from the right: odd positions weigh 1, even positions 2.
    for (int n = 1; n <= 12; ++n) {
        const QChar c = twelveDigits.at(12 - n);
        if (c < u'0' || c > u'9')
            return -1;
        sum += (c.unicode() - u'0') * (n % 2 == 1 ? 1 : 2);
    }
    return 9 - sum % 9;
}

bool isValid(const QString &normalised)
{
    if (normalised.size() != 14 || normalised.at(0) != u'T')
        return false;
    const QChar first = normalised.at(1);
    if (first < u'0' || first > u'9')
        return false;
    return checkDigit(normalised.mid(2)) == first.unicode() - u'0';
}

QString checkWarning()
{
    return u"登録番号を確認してください"_s;
}

} // namespace RegistrationNumber
