#include "themes/theme_controller.h"

#include <QFileInfo>
#include <utility>

#include "themes/private_profile.h"
#include "themes/skin_block.h"
#include "themes/theme_table.h"

namespace sumbrook {

namespace {

bool fileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

}  // namespace

ThemeController::ThemeController(SkinApi& skin, QString configFile)
    : skin_(skin), configFile_(std::move(configFile)) {}

void ThemeController::applySavedTheme() {
    configPath_ = configFile_;
    QByteArray stored;
    if (fileExists(configPath_)) {
        stored = PrivateProfile::readString(configPath_, themeSection(), themeKey());
    }
    if (!fileExists(configPath_)) {
        const ThemeRow& fallback = themeTable()[kDefaultThemeRow - 1];
        PrivateProfile::writeString(configPath_, themeSection(), themeKey(), fallback.storedName);
        skin_.attach(skinBlock(kDefaultThemeRow));
    }
    const int row = themeRowForStoredName(stored);
    if (row == 0) {
        return;
    }
    if (themeTable()[row - 1].hasSkin) {
        skin_.attach(skinBlock(row));
    } else {
        skin_.detach();
    }
}

void ThemeController::radioButtonClicked(int row, bool selected) {
    if (!selected || row < 1 || row > kThemeCount) {
        return;
    }
    const ThemeRow& theme = themeTable()[row - 1];
    skin_.detach();
    if (theme.hasSkin) {
        skin_.attach(skinBlock(row));
    }
    PrivateProfile::writeString(configPath_, themeSection(), themeKey(), theme.storedName);
}

}  // namespace sumbrook
