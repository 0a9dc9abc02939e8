#include "themes/menu_font.h"

#include <QMenu>
#include <QMenuBar>
#include <QStringList>

namespace sumbrook {

const char* const MenuFont::kCjkFamily = "Noto Sans CJK SC";

QFont MenuFont::withCjkFallback(const QFont& base) {
    QFont font = base;
    QStringList families = base.families();
    if (families.isEmpty()) {
        families.append(base.family());
    }
    const QString cjk = QString::fromLatin1(kCjkFamily);
    if (!families.contains(cjk)) {
        families.append(cjk);
    }
    font.setFamilies(families);
    return font;
}

void MenuFont::apply(QMenuBar& bar) {
    const QFont font = withCjkFallback(bar.font());
    bar.setFont(font);
    // The drop-downs are windows of their own, which take no font from the bar.
    for (QMenu* menu : bar.findChildren<QMenu*>()) {
        menu->setFont(font);
    }
}

}  // namespace sumbrook
