#include "GridFont.h"

#include <QStringList>

QFont gridFont()
{
    static const bool mapped = [] {
        QFont::insertSubstitutions(u"ＭＳ ゴシック"_qs,
                                   {u"IPAGothic"_qs, u"IPAゴシック"_qs, u"Noto Sans Mono CJK JP"_qs});
        return true;
    }();
    Q_UNUSED(mapped);
    QFont font(u"ＭＳ ゴシック"_qs);
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
