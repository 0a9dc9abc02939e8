#pragma once

#include <QString>
#include <variant>

namespace sumbrook {

// Where the answer box stands on the two-number screen.
enum class BlankPosition { Result, Left, Right };

QString blankPositionName(BlankPosition blank);

// A question of the two-number screen: left operand, operator, right operand, "=",
// result. The blank one of left, right and result is the empty text.
struct TwoNumberQuestion {
    QString xian1;
    QString xian_fu;  // "+" or "-"
    QString xian2;
    QString xian4;  // the result, shown only on fill-the-blank questions
    BlankPosition blank = BlankPosition::Result;
    int deshu = 0;
};

// A question of the expression screen: the whole expression as one text.
struct ExpressionQuestion {
    QString xian1;
    int deshu = 0;
};

// A question of the money screen: which picture, its value and its unit.
struct MoneyQuestion {
    int picture = 1;  // 1..47
    int deshu = 0;
    QString danw;    // "分", "角" or "元"
    QString deshu2;  // value and unit, e.g. "5角"
};

// A question of the clock screen: the time and where its hands stand.
struct ClockQuestion {
    int deshu = 12;        // the hour, 1..12
    int deshu0 = 0;        // the minute: 0, 15, 30 or 45
    QString deshu2;        // e.g. "3点15分"
    double hourAngle = 0;  // degrees clockwise from 12
    double minuteAngle = 0;
};

using Question = std::variant<TwoNumberQuestion, ExpressionQuestion, MoneyQuestion, ClockQuestion>;

// The expected answer: the number that must be typed (on the clock, the hour).
int expectedAnswer(const Question& question);

// The correct answer as the wrong-answer screen writes it.
QString correctAnswerText(const Question& question);

}  // namespace sumbrook
