#include "calculator/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace hc {

QString qtTranslationName(const QLocale& locale) {
    if (locale.language() == QLocale::Chinese || locale.language() == QLocale::C)
        return QStringLiteral("qtbase_zh_CN");
    return QStringLiteral("qtbase_") + locale.name();
}

bool installQtTranslations(QCoreApplication& app, const QLocale& locale) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(qtTranslationName(locale),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace hc
