#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QStringList>

#include "worksheet/core/mul_div_questions.h"

namespace sumbrook {
namespace {

// What each subtype promises of a × b or a ÷ b, then optionally ＋ c or － c.
bool keepsItsPromise(int tag, int a, QChar op, int b, QChar then, int c) {
    const bool divides = op == u'÷' && a % b == 0 && a >= 2 * b;  // quotient 2 to 9
    switch (tag) {
        case 11:
            return op == u'×' && then.isNull();
        case 12:
            return op == u'×' && a >= 2 && b >= 2 && c >= 3 && c <= 9 &&
                   (then == u'＋' || c <= a * b);
        case 13:
            return divides && b >= 2 && then.isNull();
        case 14:
            return divides && b >= 2 && (then == u'＋' ? c >= 5 && c <= 20 : c >= 2 && c <= a / b);
        case 15:
            return op == u'÷' && b >= 2 && a / b >= 2 && a % b >= 1 && then.isNull();
        case 16:
            return op == u'÷' && a <= 98 && b >= 2 && a % b != 0 && then.isNull();
    }
    return false;
}

TEST(MulDivQuestions, AFixedTickDrawsTheNumbersInTheirOrder) {
    WorksheetCounts counts;
    counts.setCount(12, 2);
    counts.setCount(14, 2);
    counts.setCount(16, 2);
    FixedTickSource ticks(12345);
    WorksheetRandom random(ticks);
    QuestionList list;
    GenerateMulDivQuestions(counts, random, list);
    QStringList texts;
    for (const WorksheetQuestion& q : list.items()) {
        texts << q.text + u' ' + q.answer;
    }
    EXPECT_EQ(texts, (QStringList{"4 × 9 － 6 ＝ 30", "3 × 9 － 6 ＝ 21", "28 ÷ 4 － 3 ＝ 4",
                                  "14 ÷ 2 ＋ 12 ＝ 19", "73 ÷ 4 ＝ 18……1", "33 ÷ 6 ＝ 5……3"}));
}

TEST(MulDivQuestions, EverySubtypeKeepsItsPromiseAndItsAnswersAreRight) {
    static const QRegularExpression pattern(
        QStringLiteral("^([1-9]\\d*) ([×÷]) ([1-9])(?: ([＋－]) ([1-9]\\d*))? ＝$"));
    for (int tag = 11; tag <= 16; ++tag) {
        for (std::uint32_t tick = 0; tick < 20'000; tick += 1'999) {
            WorksheetCounts counts;
            counts.setCount(tag, 30);
            FixedTickSource ticks(tick);
            WorksheetRandom random(ticks);
            QuestionList list;
            GenerateMulDivQuestions(counts, random, list);
            ASSERT_EQ(list.size(), 30);
            for (const WorksheetQuestion& q : list.items()) {
                const QRegularExpressionMatch m = pattern.match(q.text);
                ASSERT_TRUE(m.hasMatch()) << q.text.toStdString();
                const int a = m.captured(1).toInt(), b = m.captured(3).toInt();
                const int c = m.captured(5).toInt();
                const QChar op = m.captured(2)[0],
                            then = m.captured(4).isEmpty() ? QChar() : m.captured(4)[0];
                EXPECT_TRUE(keepsItsPromise(tag, a, op, b, then, c)) << q.text.toStdString();
                // Left to right; a remainder after "……".
                const int first = op == u'×' ? a * b : a / b;
                const QString answer = op == u'÷' && a % b != 0
                                           ? QStringLiteral("%1……%2").arg(first).arg(a % b)
                                           : QString::number(first + (then == u'＋' ? c : -c));
                EXPECT_EQ(q.answer, answer) << q.text.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace sumbrook
