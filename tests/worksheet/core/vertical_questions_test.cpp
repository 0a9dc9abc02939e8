#include <gtest/gtest.h>
#include <QRegularExpression>

#include "worksheet/core/vertical_questions.h"

namespace sumbrook {
namespace {

QuestionList generate(int tag, double count, std::uint32_t tick) {
    WorksheetCounts counts;
    counts.setCount(tag, count);
    FixedTickSource ticks(tick);
    WorksheetRandom random(ticks);
    QuestionList list;
    GenerateVerticalQuestions(counts, random, list);
    return list;
}

TEST(VerticalQuestions, LayoutsAreExactToTheCharacter) {
    struct Row {
        int tag;
        std::uint32_t tick;  // one whose first draws give these numbers
        const char *text, *answer;
    };
    const Row rows[] = {
        {17, 418, "   4 5 \r\n＋ 3 7 \r\n───—", "82"},
        {17, 97, "   3 0 \r\n＋ 5 1 \r\n───—", "81"},  // a zero digit keeps its column
        {18, 2706, "   4 7 \r\n－ 4 7 \r\n───—", "0"},
        {19, 1708, "   4 5 \r\n×   5 \r\n───—", "225"},
        {20, 2, "  ______\r\n7 ) 5 6 ", "8"},
    };
    for (const Row& row : rows) {
        const QuestionList list = generate(row.tag, 1, row.tick);
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list.at(1).text.toStdString(), row.text);
        EXPECT_EQ(list.at(1).answer.toStdString(), row.answer);
    }
}

TEST(VerticalQuestions, OperandsStayInRangeAndAnswersAreRight) {
    static const QRegularExpression pattern(QStringLiteral(
        "^(?:   ([1-9]) (\\d) \\r\\n(?:([＋－]) ([1-9]) (\\d)|×   ([2-9])) \\r\\n───—|"
        "  ______\\r\\n([2-9]) \\) ([1-9]) (\\d) )$"));
    for (std::uint32_t tick = 0; tick < 10'000; tick += 997) {
        for (int tag = 17; tag <= 20; ++tag) {
            const QuestionList list = generate(tag, 21, tick);
            ASSERT_EQ(list.size(), 21);
            for (const WorksheetQuestion& q : list.items()) {
                const QRegularExpressionMatch m = pattern.match(q.text);
                ASSERT_TRUE(m.hasMatch()) << q.text.toStdString();
                const auto number = [&m](int tens) {
                    return m.captured(tens).toInt() * 10 + m.captured(tens + 1).toInt();
                };
                const int a = number(1), b = number(4), d = m.captured(7).toInt(), n = number(8);
                const int factor = m.captured(6).toInt();
                const int results[] = {a + b, a - b, a * factor, d ? n / d : 0};
                const bool holds[] = {m.captured(3) == "＋" && b >= 11,
                                      m.captured(3) == "－" && b >= 11 && b <= a, factor >= 2,
                                      d && n % d == 0 && n / d > 10 / d && n / d <= 9};
                EXPECT_TRUE(a >= 11 || tag == 20);
                EXPECT_TRUE(holds[tag - 17]) << q.text.toStdString();
                EXPECT_EQ(q.answer, QString::number(results[tag - 17]));
            }
        }
    }
}

}  // namespace
}  // namespace sumbrook
