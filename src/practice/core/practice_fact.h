#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "question.h"

namespace sumbrook {

enum class FactKind { TwoNumber, Expression, Clock, Money };

// "two-number", "expression", "clock", "money": the names the journal and the command
// line write.
QString factKindName(FactKind kind);
std::optional<FactKind> factKindNamed(const QString& name);

// What a question asks, as data rather than display text: the numbers and signs of a sum
// with the place left for the child, the time on a clock face, or the money picture with
// its value. Two questions that ask the same thing have the same fact, whatever the
// spacing of their text. Knows nothing of how the fact is stored or shown.
struct PracticeFact {
    FactKind kind = FactKind::TwoNumber;
    // Two-number and expression: the terms in order, then the result.
    std::vector<int> numbers;
    // The sign between each two terms, '+' or '-' (numbers.size() − 2 of them).
    QString signs;
    // Which of `numbers` the child types (the result is numbers.size() − 1).
    int blank = -1;
    int hour = 0;     // clock: 1..12
    int minute = 0;   // clock: 0, 15, 30 or 45
    int picture = 0;  // money: 1..47
    int money = 0;    // money: the face value in `unit`
    QString unit;     // money: "分", "角" or "元"

    // One text per fact, the same on every machine and in every version: "7+[8]=15",
    // "3+4-2=[5]", "clock 3:15", "money 44". Facts are grouped and looked up by it.
    QString key() const;
    // The number of digit keys the answer takes (a clock's hour and minute both count).
    int answerDigits() const;

    friend bool operator==(const PracticeFact& a, const PracticeFact& b) = default;
};

// The fact a question asks.
PracticeFact factOf(const Question& question);
// The question that asks the fact again, on the screen of its kind. Nothing when the fact
// is not one a screen can ask (numbers that do not add up, a picture or time out of range).
std::optional<Question> questionOf(const PracticeFact& fact);

}  // namespace sumbrook
