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
    // The installed face by its own name: a name the font database does not
    // hold is resolved through a search over every installed face.
#ifdef Q_OS_WIN
    QFont font(u"ＭＳ ゴシック"_s);
#else
    QFont font(u"IPAGothic"_s);
#endif
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
