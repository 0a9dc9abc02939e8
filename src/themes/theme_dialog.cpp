#include "themes/theme_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "themes/theme_controller.h"
#include "themes/theme_table.h"

namespace sumbrook {

namespace {

constexpr int kColumnX[] = {44, 148};
constexpr int kRowY[] = {16, 48, 80, 112};

}  // namespace

QString ThemeDialog::radioButtonName(int row) {
    return QStringLiteral("单选框_") + themeTable()[row - 1].caption;
}

ThemeDialog::ThemeDialog(ThemeController& controller, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("更换主题"));
    setWindowTitle(QStringLiteral("更换主题"));
    setFixedSize(277, 227);
    move(50, 50);

    for (const ThemeRow& theme : themeTable()) {
        auto* button = new QRadioButton(theme.caption, this);
        button->setObjectName(radioButtonName(theme.row));
        button->setGeometry(kColumnX[theme.column], kRowY[theme.dialogRow], 96, 24);
        const int row = theme.row;
        connect(button, &QRadioButton::clicked, this, [&controller, button, row] {
            controller.radioButtonClicked(row, button->isChecked());
        });
    }

    auto* ok = new QPushButton(QStringLiteral("确  定"), this);
    ok->setObjectName(QStringLiteral("按钮_确定"));
    ok->setGeometry(88, 146, 96, 32);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace sumbrook
