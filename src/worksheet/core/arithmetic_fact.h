#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "practice/core/practice_fact.h"

namespace sumbrook {

// One addition or subtraction fact, "7 + 8 = 15" or "15 − □ = 8": the numbers on the
// left joined by + and −, the result, and which of them is left for the child. Takes the
// fact the practice recorded and writes it as the worksheets print it.
// Knows nothing of exercises; which facts fit one is ExerciseFactRules' business.
class ArithmeticFact {
  public:
    static constexpr int kResultBlank = -1;

    ArithmeticFact() = default;
    // The fact with this left side; the result is computed. signs.size() must be
    // terms.size() − 1, each '+' or '-'.
    ArithmeticFact(std::vector<int> terms, std::vector<char> signs, int blank = kResultBlank);

    // A two-number or expression fact as the sheets write it; nothing for another kind, or
    // when its numbers do not add up or go below zero.
    static std::optional<ArithmeticFact> of(const PracticeFact& fact);

    const std::vector<int>& terms() const { return terms_; }
    const std::vector<char>& signs() const { return signs_; }
    int blank() const { return blank_; }
    int result() const { return result_; }
    // The number the child writes into the blank.
    int answer() const;
    // True when no step of the left side goes below zero (first grade has no negatives).
    bool staysNatural() const;

    // As the sheet prints it: "7 ＋ 8 ＝", "（　　） ＋ 8 ＝ 15".
    QString sheetText() const;
    // As the answer key prints it: "7 ＋ 8 ＝ 15", "（7） ＋ 8 ＝ 15".
    QString keyText() const;

    // The same fact with term i changed to value, the result following.
    ArithmeticFact withTerm(std::size_t i, int value) const;

    friend bool operator==(const ArithmeticFact& a, const ArithmeticFact& b) {
        return a.terms_ == b.terms_ && a.signs_ == b.signs_ && a.blank_ == b.blank_;
    }

  private:
    QString text(bool withAnswer) const;

    std::vector<int> terms_;
    std::vector<char> signs_;
    int blank_ = kResultBlank;
    int result_ = 0;
};

}  // namespace sumbrook
