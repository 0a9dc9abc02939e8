#include "themes/theme_controller.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <utility>

#include "themes/private_profile.h"
#include "themes/skin_block.h"
#include "themes/theme_table.h"

namespace sumbrook {

namespace {

Q_LOGGING_CATEGORY(themesLog, "sumbrook.themes")

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
        store(fallback.storedName);
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
    store(theme.storedName);
}

void ThemeController::store(const QByteArray& storedName) {
    if (PrivateProfile::writeString(configPath_, themeSection(), themeKey(), storedName) ||
        writeFailureSaid_) {
        return;
    }
    writeFailureSaid_ = true;
    qCWarning(themesLog).noquote()
        << QStringLiteral(
               "the theme choice cannot be written to %1; it holds until the program "
               "ends")
               .arg(configPath_);
}

}  // namespace sumbrook
