// The skin module: a shared library that the program carries as bytes and loads from memory.
// It exports the two skin entry points; a skin block is read by parseSkinBlock.
// Attach applies the sheet and palette to the whole application; detach restores the look
// the application had before the first attach.
#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <optional>

#include "themes/skin_look.h"

#define SUMBROOK_SKIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

enum Result : int { kOk = 0, kNoApplication = 1, kDamagedBlock = 2 };

// Qt hands a new application palette to the existing widgets only once its event loop runs;
// the look is meant to change at once, also when called before the loop starts, so every
// widget is told now (telling it twice is harmless).
void spreadPalette() {
    const auto widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        QEvent change(QEvent::ApplicationPaletteChange);
        QCoreApplication::sendEvent(widget, &change);
    }
}

// The application's look before the first attach; held until a detach restores it.
struct SystemLook {
    QString styleSheet;
    QPalette palette;
};
std::optional<SystemLook>& systemLook() {
    static std::optional<SystemLook> look;
    return look;
}

}  // namespace

SUMBROOK_SKIN_EXPORT int SkinH_AttachRes(const unsigned char* block, int length,
                                         const char* /*text*/, int, int, int) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return kNoApplication;
    }
    if (block == nullptr || length < 0) {
        return kDamagedBlock;
    }
    const std::optional<sumbrook::SkinLook> skin = sumbrook::parseSkinBlock(
        QByteArray::fromRawData(reinterpret_cast<const char*>(block), length));
    if (!skin) {
        return kDamagedBlock;
    }
    if (!systemLook()) {
        systemLook() = SystemLook{app->styleSheet(), QApplication::palette()};
    }
    // Each skin starts from the system palette, so colours of an earlier skin do not linger.
    const QPalette palette = skin->paletteOver(systemLook()->palette);
    // The palette first: a style sheet set later polishes the widgets against it.
    QApplication::setPalette(palette);
    app->setStyleSheet(skin->styleSheet);
    spreadPalette();
    return kOk;
}

SUMBROOK_SKIN_EXPORT int SkinH_Detach() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return kNoApplication;
    }
    if (systemLook()) {
        QApplication::setPalette(systemLook()->palette);
        app->setStyleSheet(systemLook()->styleSheet);
        spreadPalette();
        systemLook().reset();
    }
    return kOk;
}
