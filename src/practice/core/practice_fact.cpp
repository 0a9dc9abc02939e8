#include "practice_fact.h"

#include <QRegularExpression>
#include <array>

#include "clock_generator.h"
#include "money_generator.h"

namespace sumbrook {

namespace {

struct KindName {
    FactKind kind;
    const char* name;
};
constexpr std::array<KindName, 4> kKindNames{{{FactKind::TwoNumber, "two-number"},
                                              {FactKind::Expression, "expression"},
                                              {FactKind::Clock, "clock"},
                                              {FactKind::Money, "money"}}};

// The result of the terms joined by the signs; nothing when the signs do not fit.
std::optional<int> evaluate(const std::vector<int>& terms, const QString& signs) {
    if (terms.empty() || signs.size() + 1 != static_cast<qsizetype>(terms.size())) {
        return std::nullopt;
    }
    int value = terms.front();
    for (qsizetype i = 0; i < signs.size(); ++i) {
        const int term = terms[static_cast<std::size_t>(i) + 1];
        if (signs[i] == u'+') {
            value += term;
        } else if (signs[i] == u'-') {
            value -= term;
        } else {
            return std::nullopt;
        }
    }
    return value;
}

// The expression screen's text "3 + 4 - 2" or "3+4-2" as terms and signs.
void readExpression(const QString& text, PracticeFact& fact) {
    static const QRegularExpression token(QStringLiteral("\\d+|[+-]"));
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const QString part = it.next().captured();
        if (part == QStringLiteral("+") || part == QStringLiteral("-")) {
            fact.signs += part;
        } else {
            fact.numbers.push_back(part.toInt());
        }
    }
}

QString numberOrBlank(const PracticeFact& fact, std::size_t i) {
    const QString n = QString::number(fact.numbers[i]);
    return static_cast<int>(i) == fact.blank ? u'[' + n + u']' : n;
}

}  // namespace

QString factKindName(FactKind kind) {
    for (const KindName& k : kKindNames) {
        if (k.kind == kind) {
            return QString::fromLatin1(k.name);
        }
    }
    return {};
}

std::optional<FactKind> factKindNamed(const QString& name) {
    for (const KindName& k : kKindNames) {
        if (name == QLatin1String(k.name)) {
            return k.kind;
        }
    }
    return std::nullopt;
}

QString PracticeFact::key() const {
    switch (kind) {
        case FactKind::Clock:
            return QStringLiteral("clock %1:%2").arg(hour).arg(minute, 2, 10, QChar(u'0'));
        case FactKind::Money:
            return QStringLiteral("money %1").arg(picture);
        case FactKind::TwoNumber:
        case FactKind::Expression:
            break;
    }
    QString text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            text += i + 1 == numbers.size() ? QChar(u'=') : signs.at(static_cast<qsizetype>(i) - 1);
        }
        text += numberOrBlank(*this, i);
    }
    return text;
}

int PracticeFact::answerDigits() const {
    switch (kind) {
        case FactKind::Clock:
            return static_cast<int>(QString::number(hour).size() + QString::number(minute).size());
        case FactKind::Money:
            return static_cast<int>(QString::number(money).size());
        case FactKind::TwoNumber:
        case FactKind::Expression:
            break;
    }
    if (blank < 0 || blank >= static_cast<int>(numbers.size())) {
        return 0;
    }
    return static_cast<int>(QString::number(numbers[static_cast<std::size_t>(blank)]).size());
}

PracticeFact factOf(const Question& question) {
    PracticeFact fact;
    if (const auto* q = std::get_if<TwoNumberQuestion>(&question)) {
        fact.kind = FactKind::TwoNumber;
        const auto value = [&](BlankPosition at, const QString& text) {
            return q->blank == at ? q->deshu : text.toInt();
        };
        const int left = value(BlankPosition::Left, q->xian1);
        const int right = value(BlankPosition::Right, q->xian2);
        fact.signs = q->xian_fu;
        const int result =
            q->blank == BlankPosition::Result
                ? q->deshu
                : (q->xian4.isEmpty() ? evaluate({left, right}, fact.signs).value_or(0)
                                      : q->xian4.toInt());
        fact.numbers = {left, right, result};
        fact.blank = q->blank == BlankPosition::Left ? 0 : q->blank == BlankPosition::Right ? 1 : 2;
    } else if (const auto* e = std::get_if<ExpressionQuestion>(&question)) {
        fact.kind = FactKind::Expression;
        readExpression(e->xian1, fact);
        fact.numbers.push_back(e->deshu);
        fact.blank = static_cast<int>(fact.numbers.size()) - 1;
    } else if (const auto* m = std::get_if<MoneyQuestion>(&question)) {
        fact.kind = FactKind::Money;
        fact.picture = m->picture;
        fact.money = m->deshu;
        fact.unit = m->danw;
    } else {
        const auto& clock = std::get<ClockQuestion>(question);
        fact.kind = FactKind::Clock;
        fact.hour = clock.deshu;
        fact.minute = clock.deshu0;
    }
    return fact;
}

std::optional<Question> questionOf(const PracticeFact& fact) {
    switch (fact.kind) {
        case FactKind::Clock:
            if (fact.hour < 1 || fact.hour > 12 || fact.minute < 0 || fact.minute > 59 ||
                fact.minute % 15 != 0) {
                return std::nullopt;
            }
            return ClockGenerator::forTime(fact.hour, fact.minute);
        case FactKind::Money:
            if (fact.picture < 1 || fact.picture > MoneyGenerator::kPictures) {
                return std::nullopt;
            }
            return MoneyGenerator::forPicture(fact.picture);
        case FactKind::TwoNumber:
        case FactKind::Expression:
            break;
    }
    if (fact.numbers.size() < 3) {
        return std::nullopt;
    }
    const std::vector<int> terms(fact.numbers.begin(), fact.numbers.end() - 1);
    const auto result = evaluate(terms, fact.signs);
    if (!result || *result != fact.numbers.back() || fact.blank < 0 ||
        fact.blank >= static_cast<int>(fact.numbers.size())) {
        return std::nullopt;
    }
    const int answer = fact.numbers[static_cast<std::size_t>(fact.blank)];
    if (fact.kind == FactKind::Expression) {
        if (fact.blank + 1 != static_cast<int>(fact.numbers.size())) {
            return std::nullopt;
        }
        QString text = QString::number(terms.front());
        for (qsizetype i = 0; i < fact.signs.size(); ++i) {
            text += u' ' + QString(fact.signs[i]) + u' ' +
                    QString::number(terms[static_cast<std::size_t>(i) + 1]);
        }
        return ExpressionQuestion{text, answer};
    }
    if (terms.size() != 2) {
        return std::nullopt;
    }
    const auto shown = [&](int i) {
        return i == fact.blank ? QString()
                               : QString::number(fact.numbers[static_cast<std::size_t>(i)]);
    };
    const BlankPosition blank = fact.blank == 0   ? BlankPosition::Left
                                : fact.blank == 1 ? BlankPosition::Right
                                                  : BlankPosition::Result;
    return TwoNumberQuestion{shown(0), fact.signs, shown(1), shown(2), blank, answer};
}

}  // namespace sumbrook
