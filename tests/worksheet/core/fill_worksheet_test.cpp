#include "worksheet/core/fill_worksheet.h"

#include <gtest/gtest.h>

#include "support/qstring_printer.h"
#include "worksheet/core/generate_worksheet.h"

namespace sumbrook {
namespace {

// A face that only remembers its time.
struct MarkedFace final : CellDrawing {
    MarkedFace(int h, int m) : hour(h), minute(m) {}
    QSizeF size() const override { return {4, 4}; }
    void paint(QPainter&) const override {}
    bool sameAs(const CellDrawing& other) const override {
        const auto* o = dynamic_cast<const MarkedFace*>(&other);
        return o && o->hour == hour && o->minute == minute;
    }
    int hour;
    int minute;
};

std::shared_ptr<const CellDrawing> markedFace(int hour, int minute) {
    return std::make_shared<const MarkedFace>(hour, minute);
}

std::pair<int, int> timeOf(const SheetCell& cell) {
    const auto* face = dynamic_cast<const MarkedFace*>(cell.drawing.get());
    return face ? std::pair{face->hour, face->minute} : std::pair{-1, -1};
}

QuestionList numbered(int n, const QString& pattern) {
    QuestionList list;
    for (int i = 1; i <= n; ++i) {
        list.AddUnique(pattern.arg(i), QString::number(i));
    }
    return list;
}

std::vector<int> identity(int n) {
    std::vector<int> order;
    for (int i = 1; i <= n; ++i) {
        order.push_back(i);
    }
    return order;
}

TEST(FillWorksheet, ArithmeticSheetsTakeTwoPerRowInTheShuffledOrder) {
    const QuestionList list = numbered(30, QStringLiteral("%1 ＋ 100 ＝"));
    std::vector<int> order = identity(30);
    std::reverse(order.begin(), order.end());
    const Sheet sheet = *FillWorksheet(0, list, order, markedFace);
    EXPECT_EQ(sheet.cell(5, 1).text, "30 ＋ 100 ＝");
    EXPECT_EQ(sheet.cell(5, 2).text, "29 ＋ 100 ＝");
    EXPECT_EQ(sheet.cell(19, 2).text, "1 ＋ 100 ＝");  // the 30th stands last
    EXPECT_EQ(sheet.cell(4, 1).text, "");
    EXPECT_EQ(sheet.cell(20, 1).text, "");
}

TEST(FillWorksheet, VerticalSheetsTakeThreePerRow) {
    const QuestionList list = numbered(7, QStringLiteral("   %1 \r\n＋ 1 1 \r\n───—"));
    const Sheet sheet = *FillWorksheet(2, list, identity(7), markedFace);
    for (int column = 1; column <= 3; ++column) {
        EXPECT_FALSE(sheet.cell(5, column).text.isEmpty());
        EXPECT_FALSE(sheet.cell(6, column).text.isEmpty());
    }
    EXPECT_FALSE(sheet.cell(7, 1).text.isEmpty());
    EXPECT_TRUE(sheet.cell(7, 2).text.isEmpty());
}

TEST(FillWorksheet, ClockFacesKeepTheirGenerationOrderDownTheColumns) {
    QuestionList list;
    for (int h = 1; h <= 5; ++h) {
        list.AddUnique(QStringLiteral("%1,0").arg(h));
    }
    for (int h = 1; h <= 5; ++h) {
        list.AddUnique(QStringLiteral("%1,30").arg(h));
    }
    std::vector<int> shuffled{10, 9, 8, 7, 6, 5, 4, 3, 2, 1};  // not used on this sheet
    const Sheet sheet = *FillWorksheet(3, list, shuffled, markedFace);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(timeOf(sheet.cell(2 * k + 1, 1)), std::pair(k, 0));
        EXPECT_EQ(timeOf(sheet.cell(2 * k + 1, 3)), std::pair(k, 30));
    }
    EXPECT_EQ(sheet.cell(3, 2).drawing, nullptr);
}

TEST(FillWorksheet, TheAnswerKeyWritesEachAnswerInItsQuestionsCell) {
    QuestionList list;
    list.AddUnique(QStringLiteral("37 ÷ 5 ＝"), QStringLiteral("7……2"));
    list.AddUnique(QStringLiteral("6 × 7 ＝"), QStringLiteral("42"));
    const Sheet key = *FillAnswerKey(1, list, {2, 1}, markedFace);
    const Sheet sheet = *FillWorksheet(1, list, {2, 1}, markedFace);
    // The question stays as it stands on the sheet; the answer has its own place after it.
    const struct {
        int row, column;
        const char* text;
        const char* answer;
        AnswerPlace place;
    } rows[] = {{5, 1, "6 × 7 ＝", "42", AnswerPlace::After},
                {5, 2, "37 ÷ 5 ＝", "7……2", AnswerPlace::After}};
    for (const auto& row : rows) {
        const SheetCell& cell = key.cell(row.row, row.column);
        EXPECT_EQ(cell.text, row.text);
        EXPECT_EQ(cell.text, sheet.cell(row.row, row.column).text);
        EXPECT_EQ(cell.answer, row.answer);
        EXPECT_EQ(cell.answerPlace, row.place);
        EXPECT_TRUE(sheet.cell(row.row, row.column).answer.isEmpty());
    }
    EXPECT_TRUE(key.cell(1, 1).text.endsWith("（答案）"));

    QuestionList vertical;
    vertical.AddUnique(QStringLiteral("   4 5 \r\n＋ 3 7 \r\n───—"), QStringLiteral("82"));
    vertical.AddUnique(QStringLiteral("  ______\r\n7 ) 5 6 "), QStringLiteral("8"));
    vertical.AddUnique(QStringLiteral("   9 9 \r\n＋ 9 9 \r\n───—"), QStringLiteral("198"));
    const Sheet forms = *FillAnswerKey(2, vertical, {1, 2, 3}, markedFace);
    // The result's digits stand under the operands' digits of the same place; the
    // quotient over the dividend's units.
    EXPECT_EQ(forms.cell(5, 1).text, "   4 5 \r\n＋ 3 7 \r\n───—");
    EXPECT_EQ(forms.cell(5, 1).answer, "   8 2 ");
    EXPECT_EQ(forms.cell(5, 1).answerPlace, AnswerPlace::Below);
    EXPECT_EQ(forms.cell(5, 2).text, "  ______\r\n7 ) 5 6 ");
    EXPECT_EQ(forms.cell(5, 2).answer, "      8");
    EXPECT_EQ(forms.cell(5, 2).answerPlace, AnswerPlace::Above);
    EXPECT_EQ(forms.cell(5, 3).answer, " 1 9 8 ");

    QuestionList times;
    times.AddUnique(QStringLiteral("3,5"), QStringLiteral("3时5分"));
    const Sheet clock = *FillAnswerKey(3, times, {1}, markedFace);
    // The blanks stay as on the sheet; the time goes into them.
    EXPECT_EQ(clock.cell(3, 2).text, FillWorksheet(3, times, {1}, markedFace)->cell(3, 2).text);
    EXPECT_EQ(clock.cell(3, 2).answer, "3|5|3|05");
    EXPECT_EQ(clock.cell(3, 2).answerPlace, AnswerPlace::IntoBlanks);
}

TEST(FillWorksheet, PagesWithoutASheetLeaveItAlone) {
    EXPECT_FALSE(FillWorksheet(4, {}, {}, markedFace).has_value());
    EXPECT_FALSE(FillWorksheet(5, {}, {}, markedFace).has_value());
}

TEST(GenerateWorksheet, RefusesWhatTheWindowRefusesAndFillsWhatItAccepts) {
    FixedTickSource ticks(5);
    WorksheetRandom random(ticks);
    WorksheetCounts counts;
    counts.setCount(21, 9);
    const auto refused = GenerateWorksheet(3, counts, random, markedFace);
    ASSERT_TRUE(std::holds_alternative<ValidationMessage>(refused));
    EXPECT_EQ(std::get<ValidationMessage>(refused).text, "请确保各个类型的题目总数必须为10。");

    counts.setCount(22, 1);
    const auto clock = GenerateWorksheet(3, counts, random, markedFace);
    ASSERT_TRUE(std::holds_alternative<GeneratedWorksheet>(clock));
    EXPECT_EQ(std::get<GeneratedWorksheet>(clock).questions.size(), 10);

    WorksheetCounts none;
    const auto empty = GenerateWorksheet(0, none, random, markedFace);
    const Sheet& sheet = *std::get<GeneratedWorksheet>(empty).sheet;
    EXPECT_EQ(sheet.cell(5, 1).text, "");  // all zeros: the empty template
    EXPECT_EQ(sheet.cell(1, 1).text, "数 学 口 算 题");
}

}  // namespace
}  // namespace sumbrook
