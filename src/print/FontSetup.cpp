#include "FontSetup.h"

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace FontSetup {

void installSubstitutions()
{
    const QStringList gothic{u"IPAGothic"_s, u"IPAexGothic"_s, u"Noto Sans CJK JP"_s};
    const QStringList pGothic{u"IPAPGothic"_s, u"IPAGothic"_s, u"Noto Sans CJK JP"_s};
    const QStringList mincho{u"IPAMincho"_s, u"IPAexMincho"_s, u"Noto Serif CJK JP"_s};
    const QStringList pMincho{u"IPAPMincho"_s, u"IPAMincho"_s, u"Noto Serif CJK JP"_s};
    QFont::insertSubstitutions(u"ＭＳ ゴシック"_s, gothic);
    QFont::insertSubstitutions(u"ＭＳ Ｐゴシック"_s, pGothic);
    QFont::insertSubstitutions(u"ＭＳ 明朝"_s, mincho);
    QFont::insertSubstitutions(u"ＭＳ Ｐ明朝"_s, pMincho);
    QFont::insertSubstitutions(u"MS Gothic"_s, gothic);
    QFont::insertSubstitutions(u"MS Mincho"_s, mincho);
}

void installUiFont()
{
    QFont font = QGuiApplication::font();
    // One installed family: a list of them makes Qt sort every installed
    // face for each script and size at the first text, while with one the
    // fallback faces are looked up only for a character the face lacks.
    font.setFamily(u"IPAPGothic"_s);
    // Unhinted outlines: the glyphs of a screen full of Japanese captions are
    // loaded without running each one's hinting program, and at these sizes
    // antialiased text reads the same.
    font.setHintingPreference(QFont::PreferNoHinting);
    QGuiApplication::setFont(font);
}

} // namespace FontSetup
