#pragma once

#include <QString>

#include "themes/skin_api.h"

namespace sumbrook {

// Applies the theme stored in the window configuration file and handles the theme
// dialog's radio-button clicks. It keeps no record of the active theme: the skin module
// holds the look and the file holds the choice. A choice that cannot be written still
// takes effect for this run; the first failed write is said in the log, later ones not.
class ThemeController {
  public:
    // `configFile` is the path that applySavedTheme takes as its configuration path;
    // until then the handlers use an empty path (their writes then fail, unnoticed).
    ThemeController(SkinApi& skin, QString configFile);

    // Reads the stored theme (writing and attaching the golden-autumn default when the
    // file is missing) and applies it; an unknown or empty name changes nothing.
    void applySavedTheme();
    // The click handler of the dialog's radio button for table row `row` (1 to 8).
    void radioButtonClicked(int row, bool selected);

    QString configPath() const { return configPath_; }

  private:
    SkinApi& skin_;
    QString configFile_;
    QString configPath_;
    bool writeFailureSaid_ = false;

    void store(const QByteArray& storedName);
};

}  // namespace sumbrook
