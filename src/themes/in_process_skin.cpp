#include "themes/in_process_skin.h"

#include <QApplication>

#include "themes/skin_block.h"

namespace sumbrook {

void InProcessSkin::rememberSystemLook() {
    if (remembered_) {
        return;
    }
    remembered_ = true;
    systemStyleSheet_ = qApp->styleSheet();
    systemPalette_ = QApplication::palette();
}

bool InProcessSkin::attach(const QByteArray& block) {
    const std::optional<SkinLook> look = parseSkinBlock(block);
    if (!look || qApp == nullptr) {
        return false;
    }
    rememberSystemLook();
    QApplication::setPalette(look->paletteOver(systemPalette_));
    qApp->setStyleSheet(look->styleSheet);
    return true;
}

void InProcessSkin::detach() {
    if (qApp == nullptr || !remembered_) {
        return;
    }
    qApp->setStyleSheet(systemStyleSheet_);
    QApplication::setPalette(systemPalette_);
}

}  // namespace sumbrook
