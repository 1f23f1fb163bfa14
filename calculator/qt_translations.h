#pragma once
// Qt's own texts (context menus, dialog buttons, file dialogs) in the user's
// language.

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace hc {

// Base name of the Qt translation file for a locale: "qtbase_zh_CN" for any
// Chinese locale and for the unset "C" locale (the calculator's own texts are
// Simplified Chinese), otherwise "qtbase_" followed by the locale's name
// ("qtbase_de_DE").
QString qtTranslationName(const QLocale& locale);

// Loads that file from Qt's translations folder and installs it in `app` (which
// owns the translator). Returns false, leaving Qt's English texts, when the file
// is missing or cannot be read.
bool installQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

}  // namespace hc
