#pragma once

#include <QString>

class QCoreApplication;

namespace sumbrook {

// Qt's own texts (the print, page setup and preview dialogs, the standard buttons) in
// Chinese, from the translations Qt installs. The program's own texts are Chinese already.
class QtTranslations {
  public:
    // Loads "qtbase_zh_CN" from Qt's translations folder and installs it into the
    // application, once per process. Without the file the dialogs stay in English, which
    // is said once through the "sumbrook.translations" logging category. True when loaded.
    static bool install(QCoreApplication& app);
    // The folder searched, and the file name looked for.
    static QString folder();
    static constexpr const char* kCatalogue = "qtbase_zh_CN";
};

}  // namespace sumbrook
