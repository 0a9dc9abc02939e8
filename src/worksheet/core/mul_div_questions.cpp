#include "mul_div_questions.h"

#include "question_draw_loop.h"

namespace sumbrook {

namespace {

// The answer key writes a remainder after the quotient: "7……2".
QString quotientAnswer(int dividend, int divisor) {
    const int remainder = dividend % divisor;
    QString answer = QString::number(dividend / divisor);
    if (remainder != 0) {
        answer += QStringLiteral("……") + QString::number(remainder);
    }
    return answer;
}

WorksheetQuestion product(int a, int b) {
    return {QString::number(a) + kTimesSign + QString::number(b) + kEqualsSign,
            QString::number(a * b)};
}

WorksheetQuestion quotient(int dividend, int divisor) {
    return {QString::number(dividend) + kDivideSign + QString::number(divisor) + kEqualsSign,
            quotientAnswer(dividend, divisor)};
}

// A product or exact quotient followed by + c or − c; the first step always comes first.
WorksheetQuestion thenAddOrSubtract(const WorksheetQuestion& first, int value, bool plus, int c) {
    QString text = first.text;
    text.chop(kEqualsSign.size());
    return {text + (plus ? kPlusSign : kMinusSign) + QString::number(c) + kEqualsSign,
            QString::number(plus ? value + c : value - c)};
}

}  // namespace

void GenerateMulDivQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                             QuestionList& list) {
    auto R = [&random](int lo, int hi) { return random.RandomInt(lo, hi); };
    const auto run = [&](int tag, const QuestionDraw& draw) {
        RunQuestionDrawLoop(subtypeLabel(tag), counts.count(tag), random, list, draw);
    };

    run(11, [&](int) {
        const int a = R(1, 9);
        const int b = R(1, 9);
        return product(a, b);
    });

    run(12, [&](int) {
        const int a = R(2, 9);
        const int b = R(2, 9);
        const int k = R(1, 8);
        const bool plus = k % 2 == 1;
        // A subtraction takes away no more than the product, so it never goes below zero.
        const int c = plus || a * b > 9 ? R(3, 9) : R(3, a * b);
        return thenAddOrSubtract(product(a, b), a * b, plus, c);
    });

    run(13, [&](int) {
        const int a = R(2, 9);
        const int b = R(2, 9);
        return quotient(a * b, a);
    });

    run(14, [&](int) {
        const int a = R(2, 9);
        const int b = R(2, 9);
        const int k = R(1, 9);
        const bool plus = k % 2 == 1;
        const int c = plus ? R(5, 20) : R(2, b);
        return thenAddOrSubtract(quotient(a * b, a), b, plus, c);
    });

    run(15, [&](int) {
        const int a = R(2, 9);
        const int b = R(2, 9);
        const int r = R(1, a - 1);
        return quotient(a * b + r, a);
    });

    run(16, [&](int) {
        int x = R(10, 91);
        const int d = R(2, 9);
        if (x % d == 0) {
            x += R(1, d - 1);
        }
        return quotient(x, d);
    });
}

}  // namespace sumbrook
