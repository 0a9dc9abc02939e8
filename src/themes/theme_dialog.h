#pragma once

#include <QDialog>

namespace sumbrook {

class ThemeController;

// "更换主题": eight radio buttons, one per theme, and "确  定", which closes the dialog.
// A click on a radio button goes to the controller's handler for its row; nothing is
// selected when the dialog opens.
class ThemeDialog : public QDialog {
  public:
    explicit ThemeDialog(ThemeController& controller, QWidget* parent = nullptr);

    static QString radioButtonName(int row);
};

}  // namespace sumbrook
