#pragma once

class QCoreApplication;

namespace QtTranslations {

// Loads Qt's own Japanese texts (standard buttons, file and print dialogs,
// context menus) from Qt's translations folder into app. Missing catalogues
// leave Qt's built-in texts; returns whether the base catalogue was loaded.
bool installJapanese(QCoreApplication &app);

} // namespace QtTranslations
