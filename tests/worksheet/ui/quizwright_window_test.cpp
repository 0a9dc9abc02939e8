#include "worksheet/ui/quizwright_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "support/qstring_printer.h"
#include "worksheet/core/worksheet_counts.h"
#include "worksheet/ui/sheet_print_preview.h"

namespace sumbrook {
namespace {

class QuizwrightWindowTest : public ::testing::Test {
  protected:
    QuizwrightWindowTest() : window(nullptr, std::make_unique<FixedTickSource>(42)) {
        window.setMessagePresenter([this](QWidget*, const QString& text) { messages << text; });
        window.show();
    }

    template <typename T>
    T* named(const char* name) {
        T* found = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* fieldOf(int tag) { return named<QLineEdit>(countField(tag).control); }
    void click(const char* button) {
        QTest::mouseClick(named<QPushButton>(button), Qt::LeftButton);
    }
    // Replaces a field's text the way a user does: select all, type.
    void type(int tag, const QString& text) {
        QLineEdit* f = fieldOf(tag);
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, text);
    }
    QString total() { return named<QLineEdit>("共计_编辑框")->text(); }
    bool canGenerate() { return named<QPushButton>("按钮_生成算式")->isEnabled(); }
    bool canPrint() { return named<QPushButton>("按钮_打印")->isEnabled(); }

    QuizwrightWindow window;
    QStringList messages;
};

TEST_F(QuizwrightWindowTest, OpensAsDeclared) {
    EXPECT_EQ(window.windowTitle(), "Quizwright");
    EXPECT_EQ(window.size(), QSize(630, 520));
    EXPECT_FALSE(canGenerate());
    EXPECT_FALSE(canPrint());
    EXPECT_EQ(named<QTabWidget>("选择夹1")->currentIndex(), 5);
    EXPECT_EQ(named<QLabel>("透明标签_题型说明")->text(), "使用帮助");
    EXPECT_FALSE(named<QLineEdit>("共计_编辑框")->isVisible());
    const QStringList tabs{"加减", "乘除", "竖式", "钟面", "关于", "帮助"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(named<QTabWidget>("选择夹1")->tabText(i), tabs[i]);
    }
    for (const CountField& f : countFields()) {
        EXPECT_EQ(fieldOf(f.tag)->text(), "0");
        EXPECT_EQ(fieldOf(f.tag)->size(), QSize(40, 18));
    }
    EXPECT_TRUE(named<QPlainTextEdit>("编辑框_帮助")->toPlainText().startsWith("　　一、程序简介"));
    EXPECT_EQ(window.currentSheet()->rows(), 20);  // the arithmetic template
    EXPECT_GT(named<QWidget>("画板_时钟")->x(), 630);
    EXPECT_GT(named<QWidget>("组合框1")->x(), 630);
}

TEST_F(QuizwrightWindowTest, ThePageButtonsChooseTheirPageAndTemplateAndResetEveryCount) {
    const struct {
        const char* button;
        int page;
        int rows;
        int firstTag;
    } rows[] = {
        {"按钮_加减法", 0, 20, 1},
        {"按钮_乘除法", 1, 20, 11},
        {"按钮_竖式", 2, 12, 17},
        {"按钮_认识时间", 3, 12, 21},
    };
    for (const auto& row : rows) {
        type(25, "3");
        type(5, "4");
        click(row.button);
        EXPECT_EQ(named<QTabWidget>("选择夹1")->currentIndex(), row.page);
        EXPECT_EQ(named<QLabel>("透明标签_题型说明")->text(), pageDescription(row.page));
        EXPECT_EQ(window.currentSheet()->rows(), row.rows);
        EXPECT_TRUE(named<QLineEdit>("共计_编辑框")->isVisible());
        EXPECT_EQ(total(), "0");
        EXPECT_EQ(fieldOf(25)->text(), "0");
        EXPECT_EQ(fieldOf(5)->text(), "0");
        EXPECT_EQ(window.focusWidget(), fieldOf(row.firstTag)) << row.button;
        EXPECT_FALSE(canPrint());
    }
    click("按钮4");
    EXPECT_EQ(named<QTabWidget>("选择夹1")->currentIndex(), 5);
    EXPECT_FALSE(named<QLineEdit>("共计_编辑框")->isVisible());
}

TEST_F(QuizwrightWindowTest, TheTotalFollowsTypingAtOnce) {
    click("按钮_加减法");
    type(1, "12");
    EXPECT_EQ(total(), "12");
    type(2, "5");
    EXPECT_EQ(total(), "17");
    fieldOf(1)->clear();
    EXPECT_EQ(fieldOf(1)->text(), "0");
    EXPECT_EQ(total(), "5");
    fieldOf(2)->setCursorPosition(0);
    QTest::keyClicks(fieldOf(2), "0");  // "05"
    EXPECT_EQ(fieldOf(2)->text(), "0");
    QTest::keyClicks(fieldOf(2), "x.-");  // digits only
    EXPECT_EQ(fieldOf(2)->text(), "0");
    EXPECT_EQ(total(), "0");
}

TEST_F(QuizwrightWindowTest, GenerateIsEnabledByEachPagesRule) {
    click("按钮_加减法");
    EXPECT_FALSE(canGenerate());
    type(1, "30");
    EXPECT_TRUE(canGenerate());
    type(2, "1");
    EXPECT_FALSE(canGenerate());  // 31

    click("按钮_竖式");
    type(17, "21");
    EXPECT_TRUE(canGenerate());
    type(18, "1");
    EXPECT_FALSE(canGenerate());

    click("按钮_认识时间");
    type(21, "9");
    EXPECT_FALSE(canGenerate());
    type(22, "1");
    EXPECT_TRUE(canGenerate());
    type(23, "1");
    EXPECT_FALSE(canGenerate());
}

TEST_F(QuizwrightWindowTest, ThirtyGenerateAndARefusalKeepsThePreviousSheet) {
    click("按钮_加减法");
    type(1, "10");
    type(4, "10");
    type(7, "10");
    click("按钮_生成算式");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(canPrint());
    const Sheet generated = *window.currentSheet();
    EXPECT_FALSE(generated.cell(19, 2).text.isEmpty());

    type(3, "1");  // 31: the button goes grey, and generating anyway is refused
    EXPECT_FALSE(canGenerate());
    window.GenerateWorksheet();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), "请确保各个类型的题目总数不超过30。");
    for (int row = 5; row <= 19; ++row) {
        EXPECT_EQ(window.currentSheet()->cell(row, 1).text, generated.cell(row, 1).text);
    }
}

TEST_F(QuizwrightWindowTest, ATabClickResetsNothingAndEachPageChecksItsOwnSum) {
    click("按钮_加减法");
    type(1, "25");
    named<QTabWidget>("选择夹1")->setCurrentIndex(1);
    type(11, "5");
    EXPECT_TRUE(canGenerate());  // 30 in all
    window.GenerateWorksheet();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(window.currentSheet()->cell(5, 1).text.contains(u'×'));
    named<QTabWidget>("选择夹1")->setCurrentIndex(3);
    window.GenerateWorksheet();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), "请确保各个类型的题目总数必须为10。");
}

TEST_F(QuizwrightWindowTest, AClockPageOfZerosIsRefused) {
    click("按钮_认识时间");
    const Sheet before = *window.currentSheet();
    window.GenerateWorksheet();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), "请确保各个类型的题目总数必须为10。");
    EXPECT_TRUE(canPrint());
    EXPECT_EQ(window.currentSheet()->cell(3, 1).drawing == nullptr,
              before.cell(3, 1).drawing == nullptr);
    type(21, "10");
    click("按钮_生成算式");
    EXPECT_NE(window.currentSheet()->cell(11, 3).drawing, nullptr);
}

TEST_F(QuizwrightWindowTest, TheReturnFlagTellsTheCallerWhatToDo) {
    std::optional<bool> toldToReturn;
    QObject::connect(&window, &QuizwrightWindow::finishedWithReturn,
                     [&](bool back) { toldToReturn = back; });
    click("按钮1");
    EXPECT_EQ(window.returnFlag(), QuizwrightWindow::kReturnToMainWindow);
    ASSERT_TRUE(toldToReturn.has_value());
    EXPECT_TRUE(*toldToReturn);
    EXPECT_FALSE(window.isVisible());

    QuizwrightWindow other;
    other.show();
    std::optional<bool> otherReturn;
    QObject::connect(&other, &QuizwrightWindow::finishedWithReturn,
                     [&](bool back) { otherReturn = back; });
    other.close();
    ASSERT_TRUE(otherReturn.has_value());
    EXPECT_FALSE(*otherReturn);
}

TEST_F(QuizwrightWindowTest, ThePrintPreviewShowsTheSheetAndOptionallyItsAnswers) {
    click("按钮_乘除法");
    type(11, "12");
    click("按钮_生成算式");
    click("按钮_打印");
    SheetPrintPreview* preview = window.printPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(preview->dialog(), nullptr);
    EXPECT_TRUE(preview->dialog()->isVisible());
    EXPECT_EQ(preview->pages().size(), 1u);
    auto* answers = preview->dialog()->findChild<QCheckBox*>("复选框_答案页");
    ASSERT_NE(answers, nullptr);
    EXPECT_FALSE(answers->isChecked());
    answers->setChecked(true);
    const std::vector<Sheet> pages = preview->pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[1].cell(1, 1).text.endsWith("（答案）"));
    QPrintPreviewDialog* first = preview->dialog();
    click("按钮_打印");  // brought to the front, not opened twice
    EXPECT_EQ(preview->dialog(), first);
    preview->dialog()->close();
}

// Escape reaches the window from whichever control holds the focus, after a sheet was
// made; it must not close the window, which would end the whole program.
class QuizwrightEscapeTest : public QuizwrightWindowTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(QuizwrightEscapeTest, EscapeLeavesTheWindowOpen) {
    std::optional<bool> finished;
    QObject::connect(&window, &QuizwrightWindow::finishedWithReturn,
                     [&](bool back) { finished = back; });
    click("按钮_加减法");
    type(1, "5");
    click("按钮_生成算式");
    ASSERT_TRUE(canPrint());

    auto* control = named<QWidget>(GetParam());
    ASSERT_NE(control, nullptr);
    auto* tabs = named<QTabWidget>("选择夹1");
    for (int page = 0; page < tabs->count(); ++page) {
        if (tabs->widget(page)->isAncestorOf(control)) {
            tabs->setCurrentIndex(page);
        }
    }
    control->setFocus();
    QWidget* target = control->focusProxy() ? control->focusProxy() : control;
    QTest::keyClick(target, Qt::Key_Escape);
    QTest::keyClick(target, Qt::Key_Escape, Qt::ShiftModifier);

    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(finished.has_value());
    EXPECT_EQ(window.returnFlag(), 0);
    EXPECT_EQ(window.result(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, QuizwrightEscapeTest,
                         ::testing::Values("按钮_加减法", "按钮_乘除法", "按钮_竖式",
                                           "按钮_认识时间", "按钮_生成算式", "按钮_打印", "按钮4",
                                           "按钮1", "选择夹1", "编辑框1", "编辑框26", "编辑框31",
                                           "编辑框11", "编辑框44", "编辑框_帮助", "组合框1",
                                           "表格1"));

}  // namespace
}  // namespace sumbrook
