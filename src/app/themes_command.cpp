#include "themes_command.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

#include "command_options.h"
#include "themes/memory_module.h"
#include "themes/menu_font.h"
#include "themes/module_skin.h"
#include "themes/private_profile.h"
#include "themes/refusing_module_platform.h"
#include "themes/skin_block.h"
#include "themes/skin_module_bytes.h"
#include "themes/theme_controller.h"
#include "themes/theme_dialog.h"
#include "themes/theme_table.h"

namespace sumbrook {

namespace {

std::unique_ptr<QMainWindow> sampleWindow(ThemeController& controller) {
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("SumbrookV2.0"));
    QMenu* program = window->menuBar()->addMenu(QStringLiteral("程序.(_&F)"));
    program->addAction(QStringLiteral("Quizwright"))->setEnabled(false);
    program->addSeparator();
    QMainWindow* raw = window.get();
    QObject::connect(program->addAction(QStringLiteral("更换主题")), &QAction::triggered, raw,
                     [raw, &controller] {
                         ThemeDialog dialog(controller, raw);
                         dialog.exec();
                     });
    program->addAction(QStringLiteral("退出"), raw, &QWidget::close);
    window->menuBar()->addMenu(QStringLiteral("帮助.(_&H)"))->addAction(QStringLiteral("软件说明"));
    MenuFont::apply(*window->menuBar());

    auto* tabs = new QTabWidget;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(QStringLiteral("练习设置"));
    auto* boxLayout = new QHBoxLayout(box);
    auto* first = new QRadioButton(QStringLiteral("加减法"));
    first->setChecked(true);
    boxLayout->addWidget(first);
    boxLayout->addWidget(new QRadioButton(QStringLiteral("乘除法")));
    auto* off = new QRadioButton(QStringLiteral("竖式"));
    off->setEnabled(false);
    boxLayout->addWidget(off);
    auto* answers = new QCheckBox(QStringLiteral("打印答案"));
    answers->setChecked(true);
    boxLayout->addWidget(answers);
    layout->addWidget(box);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("共计：")));
    auto* count = new QLineEdit(QStringLiteral("100"));
    count->setObjectName(QStringLiteral("共计_编辑框"));
    row->addWidget(count);
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("A4 纵向"), QStringLiteral("A4 横向")});
    row->addWidget(combo);
    layout->addLayout(row);

    auto* text = new QPlainTextEdit(QStringLiteral("3 + 4 = 7\n9 - 5 = 4\n6 + 8 = 14"));
    layout->addWidget(text);

    auto* buttons = new QHBoxLayout;
    auto* generate = new QPushButton(QStringLiteral("生 成 算 式"));
    generate->setDefault(true);
    buttons->addWidget(generate);
    buttons->addWidget(new QPushButton(QStringLiteral("打    印")));
    auto* disabled = new QPushButton(QStringLiteral("返  回"));
    disabled->setEnabled(false);
    buttons->addWidget(disabled);
    layout->addLayout(buttons);

    tabs->addTab(page, QStringLiteral("加减法"));
    tabs->addTab(new QLabel(QStringLiteral("乘除法的设置")), QStringLiteral("乘除法"));
    tabs->addTab(new QLabel(QStringLiteral("竖式的设置")), QStringLiteral("竖式"));
    tabs->setObjectName(QStringLiteral("选择夹1"));
    window->setCentralWidget(tabs);
    window->resize(460, 360);
    window->move(350, 50);
    return window;
}

}  // namespace

int runThemesCommand(const QStringList& arguments, std::FILE* err) {
    CommandOptions options;
    options.withValue(QStringLiteral("skin"));
    if (!options.parse(arguments)) {
        std::fprintf(err, "sumbrook themes: %s\n", options.error().toLocal8Bit().constData());
        return 2;
    }
    std::optional<std::uint64_t> shown;
    if (options.has(QStringLiteral("skin"))) {
        shown = CommandOptions::wholeNumber(options.value(QStringLiteral("skin")), 1, kThemeCount);
        if (!shown) {
            std::fprintf(err, "sumbrook themes: --skin takes a theme row from 1 to 8\n");
            return 2;
        }
    }

    MemoryModule skinModule(processModulePlatform());
    if (!LoadEmbeddedSkinModule(skinModule)) {
        std::fprintf(err, "sumbrook themes: the skin module did not load (%s)\n",
                     skinModule.LastError().c_str());
    }
    ModuleSkin skin(skinModule);
    ThemeController controller(skin, PrivateProfile::configPathInUse());
    if (shown) {
        const int row = static_cast<int>(*shown);
        if (themeTable()[row - 1].hasSkin) {
            skin.attach(skinBlock(row));
        } else {
            skin.detach();
        }
    } else {
        controller.applySavedTheme();
    }

    std::unique_ptr<QMainWindow> window = sampleWindow(controller);
    window->show();
    ThemeDialog dialog(controller, window.get());
    dialog.setModal(true);
    dialog.show();
    return QApplication::exec();
}

}  // namespace sumbrook
