#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

namespace sumbrook {

Q_LOGGING_CATEGORY(lcTranslations, "sumbrook.translations")

QString QtTranslations::folder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::install(QCoreApplication& app) {
    static QTranslator* installed = nullptr;
    if (installed) {
        return true;
    }
    auto* translator = new QTranslator(&app);
    if (!translator->load(QString::fromLatin1(kCatalogue), folder())) {
        delete translator;
        static bool said = false;
        if (!said) {
            said = true;
            qCWarning(lcTranslations).noquote()
                << "Qt's Chinese translations" << kCatalogue << "are not in" << folder()
                << "- the print and page setup dialogs stay in English";
        }
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace sumbrook
