#include "add_sub_questions.h"

#include <cmath>

#include "question_draw_loop.h"

namespace sumbrook {

namespace {

// Tag 1 is left out altogether, without even a Reseed, unless its count is above this.
constexpr double kTolerance = 1e-7;

// a + b or a − b, with its answer.
WorksheetQuestion twoNumbers(int a, bool plus, int b) {
    return {QString::number(a) + (plus ? kPlusSign : kMinusSign) + QString::number(b) + kEqualsSign,
            QString::number(plus ? a + b : a - b)};
}

// a ± b ± c, worked out from left to right.
WorksheetQuestion threeNumbers(int a, bool firstPlus, int b, bool secondPlus, int c) {
    const int partial = firstPlus ? a + b : a - b;
    return {QString::number(a) + (firstPlus ? kPlusSign : kMinusSign) + QString::number(b) +
                (secondPlus ? kPlusSign : kMinusSign) + QString::number(c) + kEqualsSign,
            QString::number(secondPlus ? partial + c : partial - c)};
}

// Tags 9 and 10 draw the digits one by one; the tens and units are written side by side.
WorksheetQuestion twoDigitDifference(int tens1, int units1, int tens2, int units2) {
    return twoNumbers(10 * tens1 + units1, false, 10 * tens2 + units2);
}

}  // namespace

void GenerateAddSubQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                             QuestionList& list) {
    auto R = [&random](int lo, int hi) { return random.RandomInt(lo, hi); };
    const auto run = [&](int tag, const QuestionDraw& draw) {
        RunQuestionDrawLoop(subtypeLabel(tag), counts.count(tag), random, list, draw);
    };

    // Tag 1: a run of additions, one more than half the count, then the subtractions.
    const double n1 = counts.count(1);
    if (n1 > kTolerance) {
        const double additions = std::floor(n1 / 2) + 1;
        RunQuestionDrawLoop(subtypeLabel(1) + QStringLiteral(" (additions)"), additions, random,
                            list, [&](int) {
                                const int a = R(1, 9);
                                const int b = R(1, 10 - a);
                                return twoNumbers(a, true, b);
                            });
        RunQuestionDrawLoop(subtypeLabel(1) + QStringLiteral(" (subtractions)"), n1 - additions,
                            random, list, [&](int) {
                                const int a = R(4, 9);
                                const int b = R(1, a);
                                return twoNumbers(a, false, b);
                            });
    }

    run(2, [&](int) {
        const int a = R(3, 10);
        const int b = R(1, 10 - a);
        const int c = R(5, 10);
        return threeNumbers(a, true, b, true, c);
    });

    // Tag 3: the first form up to and including the question numbered half the count
    // (0-based), the second form after it.
    const double half = std::trunc(counts.count(3) / 2);
    run(3, [&](int accepted) {
        if (accepted <= half) {
            const int a = R(4, 10);
            const int b = R(4, 10);
            const int s = a + b;
            const int c = s > 10 ? R(1, s - 10) : R(1, s);
            return threeNumbers(a, true, b, false, c);
        }
        const int a = R(8, 19);
        const int b = a > 10 ? R(1, a - 10) : R(1, a - 1);
        const int x = (20 - a) + b;
        const int c = x > 10 ? R(1, 10) : R(1, x);
        return threeNumbers(a, false, b, true, c);
    });

    run(4, [&](int) {
        const int a = R(2, 10);
        const int b = R(11 - a, 10);
        return twoNumbers(a, true, b);
    });

    run(5, [&](int) {
        const int a = R(11, 89);
        const int k = R(1, (100 - a) / 10);
        return twoNumbers(a, true, 10 * k);
    });

    run(6, [&](int) {
        const int a = R(11, 89);
        const int r = a % 10;
        int b = 0;
        if (r != 0) {
            b = R(10 - r, 9);
            if (b <= 2) {
                b = 3;
            }
        } else {
            b = R(3, 9);
        }
        return twoNumbers(a, true, b);
    });

    run(7, [&](int) {
        const int a = R(11, 18);
        const int b = R(a - 10 + 1, 9);
        return twoNumbers(a, false, b);
    });

    run(8, [&](int) {
        const int a = R(11, 80);
        const int b = R(11, 100 - a);
        return twoNumbers(a, true, b);
    });

    run(9, [&](int) {
        const int tens1 = R(2, 9);
        const int units1 = R(5, 9);
        const int tens2 = R(1, tens1 - 1);
        const int units2 = R(1, units1 - 1);
        return twoDigitDifference(tens1, units1, tens2, units2);
    });

    run(10, [&](int) {
        const int tens1 = R(2, 9);
        const int units1 = R(1, 8);
        const int tens2 = R(1, tens1 - 1);
        const int units2 = R(units1 + 1, 9);
        return twoDigitDifference(tens1, units1, tens2, units2);
    });
}

}  // namespace sumbrook
