// Quizwright under each of the eight themes, through the program's own skin module: a skin
// repaints the window's controls but moves and resizes none, every button keeps room for its
// caption, every tab stands in sight, and the window looks as its stored picture does
// (golden/quizwright_<theme>.png; tools/update-golden-pictures stores them again).
#include <gtest/gtest.h>
#include <QApplication>
#include <QHash>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "support/golden_picture.h"
#include "support/qstring_printer.h"
#include "themes/memory_module.h"
#include "themes/module_skin.h"
#include "themes/refusing_module_platform.h"
#include "themes/skin_block.h"
#include "themes/skin_module_bytes.h"
#include "themes/theme_table.h"
#include "worksheet/ui/quizwright_window.h"

namespace sumbrook {
namespace {

struct Theme {
    int row;
    const char* picture;
};

void PrintTo(const Theme& theme, std::ostream* out) {
    *out << theme.picture;
}

const testing::GoldenPictures& golden() {
    static const testing::GoldenPictures pictures(QStringLiteral(SUMBROOK_GOLDEN_DIR));
    return pictures;
}

// The window as a user first works in it: the sums page chosen with its button, the totals
// shown, the first count field holding the focus.
std::unique_ptr<QuizwrightWindow> openedOnTheSumsPage() {
    auto window = std::make_unique<QuizwrightWindow>(nullptr, std::make_unique<FixedTickSource>(7));
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮_加减法")),
                      Qt::LeftButton);
    QCoreApplication::processEvents();
    return window;
}

class QuizwrightThemes : public ::testing::TestWithParam<Theme> {
  protected:
    void SetUp() override {
        // A steady cursor, so that the picture does not depend on when it is taken.
        QApplication::setCursorFlashTime(0);
        // The declared geometry of every named control, in the system look.
        {
            const auto plain = openedOnTheSumsPage();
            for (const QWidget* w : plain->findChildren<QWidget*>()) {
                // Names of the form's own controls; Qt's inner parts (qt_…) follow the style.
                if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_")) {
                    declared_.insert(w->objectName(), w->geometry());
                }
            }
        }
        ASSERT_TRUE(LoadEmbeddedSkinModule(module_)) << module_.LastError();
        if (themeTable()[GetParam().row - 1].hasSkin) {
            ASSERT_TRUE(skin_.attach(skinBlock(GetParam().row)));
        } else {
            skin_.detach();
        }
    }
    void TearDown() override { skin_.detach(); }

    QHash<QString, QRect> declared_;
    MemoryModule module_{processModulePlatform()};
    ModuleSkin skin_{module_};
};

TEST_P(QuizwrightThemes, EveryControlStandsWhereItWasPutWithItsWholeCaption) {
    const auto window = openedOnTheSumsPage();
    ASSERT_GE(declared_.size(), 25 + 15);
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (declared_.contains(w->objectName())) {
            EXPECT_EQ(w->geometry(), declared_.value(w->objectName()))
                << w->objectName().toStdString();
        }
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), room.width())
            << button->text().toStdString();
    }
}

TEST_P(QuizwrightThemes, EveryTabStandsInSight) {
    const auto window = openedOnTheSumsPage();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("选择夹1"));
    ASSERT_NE(tabs, nullptr);
    for (int index : {5, 0}) {  // as the window opens, and after the sums button
        tabs->setCurrentIndex(index);
        QCoreApplication::processEvents();
        QTabBar* bar = tabs->tabBar();
        for (int i = 0; i < bar->count(); ++i) {
            EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString();
            EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->tabText(i)),
                      bar->tabRect(i).width())
                << bar->tabText(i).toStdString();
        }
        for (const QToolButton* scroll : bar->findChildren<QToolButton*>()) {
            EXPECT_FALSE(scroll->isVisible()) << "the tabs scroll";
        }
    }
}

TEST_P(QuizwrightThemes, LooksAsStored) {
    const auto window = openedOnTheSumsPage();
    golden().expect(window->grab().toImage(),
                    QStringLiteral("quizwright_") + QString::fromLatin1(GetParam().picture), true);
}

INSTANTIATE_TEST_SUITE_P(EightThemes, QuizwrightThemes,
                         ::testing::Values(Theme{1, "silver"}, Theme{2, "grey"}, Theme{3, "black"},
                                           Theme{4, "spring"}, Theme{5, "autumn"}, Theme{6, "blue"},
                                           Theme{7, "purple"}, Theme{8, "system"}),
                         [](const ::testing::TestParamInfo<Theme>& row) {
                             return std::string(row.param.picture);
                         });

}  // namespace
}  // namespace sumbrook
