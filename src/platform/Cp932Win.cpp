#include "Cp932.h"

#include <windows.h>

namespace Cp932 {

QString decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    const int n = MultiByteToWideChar(932, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(932, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<wchar_t *>(out.data()),
                        n);
    return out;
}

QByteArray encode(const QString &text, QString *unmappable)
{
    if (text.isEmpty())
        return {};
    const auto *w = reinterpret_cast<const wchar_t *>(text.utf16());
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int units = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        char buf[8];
        BOOL lost = FALSE;
        const int n =
            WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w + i, units, buf, sizeof buf, nullptr, &lost);
        if (n <= 0 || lost) {
            out.append('?');
            if (unmappable && !unmappable->contains(text.mid(i, units)))
                unmappable->append(text.mid(i, units));
        } else {
            out.append(buf, n);
        }
        i += units - 1;
    }
    return out;
}

bool canEncode(const QString &text)
{
    QString bad;
    encode(text, &bad);
    return bad.isEmpty();
}

} // namespace Cp932
