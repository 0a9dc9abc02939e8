#include "legacy_fact_text.h"

#include <QRegularExpression>
#include <vector>

#include "practice/core/clock_generator.h"
#include "practice/core/expression_generator.h"
#include "practice/core/money_generator.h"
#include "practice/core/two_number_generator.h"

namespace sumbrook {

namespace {

// First-grade numbers: four digits is already more than any screen shows.
constexpr int kMaxDigits = 4;

int digitOf(QChar c) {
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// "a ± b ± … = c" with one of the numbers "□" (or nothing after "="): the terms, each
// blank as nothing, then the result.
struct SumText {
    std::vector<std::optional<int>> numbers;
    QString signs;
};

std::optional<SumText> readSum(const QString& text) {
    SumText sum;
    bool wantNumber = true;
    bool equals = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\u3000') {
            ++i;
        } else if (wantNumber && digitOf(c) >= 0) {
            int value = 0;
            int digits = 0;
            for (; i < text.size() && digitOf(text[i]) >= 0; ++i) {
                if (++digits > kMaxDigits) {
                    return std::nullopt;
                }
                value = value * 10 + digitOf(text[i]);
            }
            sum.numbers.emplace_back(value);
            wantNumber = false;
        } else if (wantNumber && (c == u'□' || c == u'?')) {
            sum.numbers.emplace_back(std::nullopt);
            wantNumber = false;
            ++i;
        } else if (!wantNumber && !equals && (c == u'+' || c == u'＋')) {
            sum.signs += u'+';
            wantNumber = true;
            ++i;
        } else if (!wantNumber && !equals && (c == u'-' || c == u'\u2212' || c == u'－')) {
            sum.signs += u'-';
            wantNumber = true;
            ++i;
        } else if (!wantNumber && !equals && (c == u'=' || c == u'＝')) {
            equals = true;
            wantNumber = true;
            ++i;
        } else {
            return std::nullopt;
        }
    }
    if (!equals || sum.signs.isEmpty()) {
        return std::nullopt;
    }
    if (wantNumber) {
        sum.numbers.emplace_back(std::nullopt);  // "12 - 5 =": the result left open
    }
    if (sum.numbers.size() != static_cast<std::size_t>(sum.signs.size()) + 2) {
        return std::nullopt;
    }
    return sum;
}

// The sum with its one blank filled by the expected answer, when that makes it hold and
// no step goes below zero.
std::optional<PracticeFact> sumFact(FactKind kind, const SumText& sum, const QString& expected) {
    bool isNumber = false;
    const int answer = expected.trimmed().toInt(&isNumber);
    if (!isNumber || answer < 0) {
        return std::nullopt;
    }
    PracticeFact fact;
    fact.kind = kind;
    fact.signs = sum.signs;
    for (std::size_t i = 0; i < sum.numbers.size(); ++i) {
        if (!sum.numbers[i]) {
            if (fact.blank >= 0) {
                return std::nullopt;
            }
            fact.blank = static_cast<int>(i);
        }
        fact.numbers.push_back(sum.numbers[i].value_or(answer));
    }
    if (fact.blank < 0) {
        return std::nullopt;
    }
    int value = fact.numbers.front();
    for (qsizetype k = 0; k < fact.signs.size(); ++k) {
        const int term = fact.numbers[static_cast<std::size_t>(k) + 1];
        value += fact.signs[k] == u'+' ? term : -term;
        if (value < 0) {
            return std::nullopt;
        }
    }
    if (value != fact.numbers.back()) {
        return std::nullopt;
    }
    return fact;
}

}  // namespace

std::optional<PracticeFact> LegacyFactText::read(int exercise, const QString& shown,
                                                 const QString& expected) {
    const QString text = shown.trimmed();
    if (exercise == ClockGenerator::kExercise) {
        static const QRegularExpression time(QStringLiteral("^(\\d{1,2})点(\\d{1,2})分$"));
        const QRegularExpressionMatch m = time.match(text);
        if (!m.hasMatch()) {
            return std::nullopt;
        }
        PracticeFact fact;
        fact.kind = FactKind::Clock;
        fact.hour = m.captured(1).toInt();
        fact.minute = m.captured(2).toInt();
        if (fact.hour < 1 || fact.hour > 12 || fact.minute > 59) {
            return std::nullopt;
        }
        return fact;
    }
    if (exercise == MoneyGenerator::kExercise) {
        static const QRegularExpression picture(QStringLiteral("^钱币图(\\d{1,2})：□(.*)$"));
        const QRegularExpressionMatch m = picture.match(text);
        const int k = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (k < 1 || k > MoneyGenerator::kPictures) {
            return std::nullopt;
        }
        const PracticeFact fact = factOf(MoneyGenerator::forPicture(k));
        if (QString::number(fact.money) != expected.trimmed()) {
            return std::nullopt;
        }
        return fact;
    }
    const bool twoNumber = TwoNumberGenerator::handles(exercise);
    if (!twoNumber && !ExpressionGenerator::handles(exercise)) {
        return std::nullopt;
    }
    const std::optional<SumText> sum = readSum(text);
    if (!sum) {
        return std::nullopt;
    }
    if (twoNumber ? sum->numbers.size() != 3 : sum->numbers.back().has_value()) {
        return std::nullopt;  // two numbers, or an expression whose result is asked
    }
    return sumFact(twoNumber ? FactKind::TwoNumber : FactKind::Expression, *sum, expected);
}

}  // namespace sumbrook
