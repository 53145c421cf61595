#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace QtTranslations {

bool installJapanese(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool base = false;
    for (const QString &name : {u"qtbase_ja"_s, u"qt_ja"_s}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
            base = base || name == u"qtbase_ja"_s;
        } else {
            delete translator;
        }
    }
    return base;
}

} // namespace QtTranslations
