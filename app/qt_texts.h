// Qt's own texts (the standard buttons of message boxes, the file and folder dialogs) in
// Chinese, like every other text of the program, whatever the system's language.
#pragma once

#include <QCoreApplication>

namespace corvale::app {

// Loads Qt's Simplified Chinese translation from Qt's translations folder. Returns false when it
// is not installed (Debian's qt6-translations-l10n): Qt's texts then stay English.
bool UseChineseQtTexts(QCoreApplication& application);

}  // namespace corvale::app
