#include "vertical_questions.h"

#include "question_draw_loop.h"

namespace sumbrook {

namespace {

// In the sheet's fixed-pitch font the full-width signs and the rule's characters take two
// columns and everything else one, so these strings keep the digits of a place aligned.
const QString kLineBreak = QStringLiteral("\r\n");
const QString kRule = QStringLiteral("\r\n───—");
const QString kBracketTop = QStringLiteral("  ______");

// A two-digit number with a space after each digit, so its digits sit in every other column.
QString spacedDigits(int n) {
    return QString::number(n / 10) + u' ' + QString::number(n % 10) + u' ';
}

WorksheetQuestion twoRowForm(int a, const QString& secondRow, int result) {
    return {QStringLiteral("   ") + spacedDigits(a) + kLineBreak + secondRow + kRule,
            QString::number(result)};
}

}  // namespace

void GenerateVerticalQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                               QuestionList& list) {
    auto R = [&random](int lo, int hi) { return random.RandomInt(lo, hi); };
    const auto run = [&](int tag, const QuestionDraw& draw) {
        RunQuestionDrawLoop(subtypeLabel(tag), counts.count(tag), random, list, draw);
    };

    run(17, [&](int) {
        const int a = R(11, 99);
        const int b = R(11, 99);
        return twoRowForm(a, QStringLiteral("＋ ") + spacedDigits(b), a + b);
    });

    run(18, [&](int) {
        const int a = R(11, 99);
        const int b = R(11, a);
        return twoRowForm(a, QStringLiteral("－ ") + spacedDigits(b), a - b);
    });

    run(19, [&](int) {
        const int a = R(11, 99);
        const int b = R(2, 9);
        return twoRowForm(a, QStringLiteral("×   ") + QString::number(b) + u' ', a * b);
    });

    run(20, [&](int) {
        const int d = R(2, 9);
        // The quotient starts above 10 / d so that the dividend always has two digits.
        const int q = R(10 / d + 1, 9);
        return WorksheetQuestion{kBracketTop + kLineBreak + QString::number(d) +
                                     QStringLiteral(" ) ") + spacedDigits(d * q),
                                 QString::number(q)};
    });
}

}  // namespace sumbrook
