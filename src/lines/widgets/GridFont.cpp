#include "GridFont.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QFont gridFont()
{
    static const bool mapped = [] {
        QFont::insertSubstitutions(u"ＭＳ ゴシック"_s,
                                   {u"IPAGothic"_s, u"IPAゴシック"_s, u"Noto Sans Mono CJK JP"_s});
        return true;
    }();
    Q_UNUSED(mapped);
    QFont font(u"ＭＳ ゴシック"_s);
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
