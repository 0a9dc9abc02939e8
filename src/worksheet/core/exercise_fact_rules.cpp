#include "exercise_fact_rules.h"

#include <algorithm>

namespace sumbrook {

namespace {

enum class Shape {
    Sum,             // a + b
    Difference,      // a − b
    SumOrDifference  // either
};

enum class Blank { Result, Term };

// What the exercise's questions look like.
struct Rule {
    int terms;  // 2 or 3; 0 for either
    int bound;  // no number, step or result above it
    Blank blank;
    // The sign patterns the exercise draws, e.g. "+", "-", "++", "+-".
    std::vector<const char*> signs;
};

bool isTen(int n) {
    return n % 10 == 0 && n >= 10;
}

Rule ruleOf(int exercise) {
    const std::vector<const char*> plus{"+"};
    const std::vector<const char*> minus{"-"};
    const std::vector<const char*> either{"+", "-"};
    const std::vector<const char*> chains{"++", "--"};
    const std::vector<const char*> mixed{"+-", "-+"};
    const std::vector<const char*> review{"+", "-", "++", "--", "+-", "-+"};
    switch (exercise) {
        case 1:
            return {2, 5, Blank::Result, plus};
        case 2:
            return {2, 5, Blank::Result, minus};
        case 3:
            return {2, 5, Blank::Result, either};
        case 4:
            return {2, 10, Blank::Result, plus};
        case 5:
            return {2, 10, Blank::Result, minus};
        case 6:
            return {2, 10, Blank::Result, either};
        case 7:
            return {2, 10, Blank::Term, either};
        case 8:
            return {2, 10, Blank::Term, plus};
        case 9:
        case 11:
        case 13:
            return {2, 20, Blank::Result, plus};
        case 10:
        case 12:
        case 14:
            return {2, 20, Blank::Result, minus};
        case 15:
            return {2, 20, Blank::Result, either};
        case 16:
            return {2, 20, Blank::Term, either};
        case 17:
        case 19:
        case 21:
        case 22:
            return {2, 100, Blank::Result, plus};
        case 18:
        case 20:
        case 23:
        case 24:
            return {2, 100, Blank::Result, minus};
        case 25:
            return {3, 10, Blank::Result, {"++"}};
        case 26:
            return {3, 10, Blank::Result, {"--"}};
        case 27:
            return {3, 10, Blank::Result, chains};
        case 28:
            return {3, 10, Blank::Result, mixed};
        case 29:
            return {3, 20, Blank::Result, {"++"}};
        case 30:
            return {3, 20, Blank::Result, {"--"}};
        case 31:
            return {3, 20, Blank::Result, chains};
        case 32:
            return {3, 20, Blank::Result, mixed};
        case 33:
            return {2, 100, Blank::Term, either};
        case 34:
            return {0, 20, Blank::Result, review};
        default:  // 35
            return {0, 100, Blank::Result, review};
    }
}

// What the exercise asks beyond its shape: crossing ten or not, whole tens, one digit.
bool fitsNumbers(int exercise, int a, int b, int result) {
    switch (exercise) {
        case 8:
            return result == 10;
        case 9:  // a teen and a one-digit number whose units do not carry, or just make
                 // the ten (19 + 1 is drawn when the units run out of room)
            return ((a > 10 && b < 10) || (a < 10 && b > 10)) && a % 10 + b % 10 <= 10;
        case 10:  // a teen less a one-digit number, no borrowing (20 − 9 as 19 + 1 above)
            return a > 10 && b < 10 && (a % 10 >= b || a == 20);
        case 11:  // two one-digit numbers that cross ten
            return a < 10 && b < 10 && result > 10;
        case 12:  // a teen less a one-digit number, borrowing
            return a > 10 && b < 10 && a % 10 < b;
        case 17:
        case 18:  // whole tens and a one-digit number
            return isTen(a) && a <= 90 && b < 10;
        case 19:
            return isTen(a) && isTen(b);
        case 20:
            return isTen(a) && isTen(b) && result >= 10;
        case 21:
        case 23:  // a two-digit number and a one-digit number
            return a >= 10 && b < 10;
        case 22:
        case 24:  // a two-digit number and whole tens
            return a >= 10 && isTen(b) && result > 0;
        default:
            return true;
    }
}

QByteArray signPattern(const ArithmeticFact& fact) {
    QByteArray pattern;
    for (char s : fact.signs()) {
        pattern += s;
    }
    return pattern;
}

// The step a number moves by: whole tens where the exercise works in them.
int stepOf(int exercise, std::size_t term) {
    switch (exercise) {
        case 17:
        case 18:
            return term == 0 ? 10 : 1;
        case 19:
        case 20:
            return 10;
        case 22:
        case 24:
            return term == 1 ? 10 : 1;
        default:
            return 1;
    }
}

}  // namespace

bool ExerciseFactRules::fits(int exercise, const ArithmeticFact& fact) {
    if (!isArithmetic(exercise)) {
        return false;
    }
    const Rule rule = ruleOf(exercise);
    const auto& terms = fact.terms();
    if (rule.terms != 0 && static_cast<int>(terms.size()) != rule.terms) {
        return false;
    }
    if (terms.size() < 2 || terms.size() > 3) {
        return false;
    }
    const QByteArray pattern = signPattern(fact);
    if (std::none_of(rule.signs.begin(), rule.signs.end(),
                     [&](const char* p) { return pattern == p; })) {
        return false;
    }
    if ((rule.blank == Blank::Result) != (fact.blank() == ArithmeticFact::kResultBlank)) {
        return false;
    }
    if (!fact.staysNatural()) {
        return false;
    }
    // Every number is at least 1, and no number, step or result passes the bound.
    int value = terms.front();
    if (value < 1 || value > rule.bound) {
        return false;
    }
    for (std::size_t k = 1; k < terms.size(); ++k) {
        if (terms[k] < 1 || terms[k] > rule.bound) {
            return false;
        }
        value += fact.signs()[k - 1] == '+' ? terms[k] : -terms[k];
        if (value > rule.bound) {
            return false;
        }
    }
    if (terms.size() == 2) {
        return fitsNumbers(exercise, terms[0], terms[1], fact.result());
    }
    return true;
}

std::vector<ArithmeticFact> ExerciseFactRules::neighbours(int exercise,
                                                          const ArithmeticFact& fact) {
    std::vector<ArithmeticFact> candidates;
    const std::size_t n = fact.terms().size();
    auto moved = [&](std::size_t i, int by) {
        return fact.withTerm(i, fact.terms()[i] + by * stepOf(exercise, i));
    };
    // The last number up, the first down: 7 + 8 → 7 + 9, 6 + 8.
    candidates.push_back(moved(n - 1, +1));
    candidates.push_back(moved(0, -1));
    // The two numbers of a sum swapped: 7 + 8 → 8 + 7.
    if (n == 2 && fact.signs()[0] == '+') {
        candidates.push_back(fact.withTerm(0, fact.terms()[1]).withTerm(1, fact.terms()[0]));
    }
    candidates.push_back(moved(n - 1, -1));
    candidates.push_back(moved(0, +1));
    for (std::size_t i = 1; i + 1 < n; ++i) {
        candidates.push_back(moved(i, +1));
        candidates.push_back(moved(i, -1));
    }
    // One up and one down with the same result: 3 + 7 = 10 → 4 + 6, 2 + 8.
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            if (i == j) {
                continue;
            }
            const bool sameWay = i == 0 || j == 0
                                     ? (i == 0 ? fact.signs()[j - 1] : fact.signs()[i - 1]) == '+'
                                     : fact.signs()[i - 1] == fact.signs()[j - 1];
            const int step = std::max(stepOf(exercise, i), stepOf(exercise, j));
            const ArithmeticFact up = fact.withTerm(i, fact.terms()[i] + step);
            candidates.push_back(up.withTerm(j, fact.terms()[j] + (sameWay ? -step : step)));
        }
    }
    std::vector<ArithmeticFact> out;
    for (const ArithmeticFact& c : candidates) {
        if (c == fact || !fits(exercise, c) || std::find(out.begin(), out.end(), c) != out.end()) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace sumbrook
