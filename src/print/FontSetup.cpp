#include "FontSetup.h"

#include <QFont>
#include <QStringList>

namespace FontSetup {

void installSubstitutions()
{
    const QStringList gothic{u"IPAGothic"_qs, u"IPAexGothic"_qs, u"Noto Sans CJK JP"_qs};
    const QStringList pGothic{u"IPAPGothic"_qs, u"IPAGothic"_qs, u"Noto Sans CJK JP"_qs};
    const QStringList mincho{u"IPAMincho"_qs, u"IPAexMincho"_qs, u"Noto Serif CJK JP"_qs};
    const QStringList pMincho{u"IPAPMincho"_qs, u"IPAMincho"_qs, u"Noto Serif CJK JP"_qs};
    QFont::insertSubstitutions(u"ＭＳ ゴシック"_qs, gothic);
    QFont::insertSubstitutions(u"ＭＳ Ｐゴシック"_qs, pGothic);
    QFont::insertSubstitutions(u"ＭＳ 明朝"_qs, mincho);
    QFont::insertSubstitutions(u"ＭＳ Ｐ明朝"_qs, pMincho);
    QFont::insertSubstitutions(u"MS Gothic"_qs, gothic);
    QFont::insertSubstitutions(u"MS Mincho"_qs, mincho);
}

} // namespace FontSetup
