#include "readable_fact.h"

#include <QRegularExpression>

#include "practice/core/money_generator.h"

namespace sumbrook {

namespace {

bool isKind(const MissedFact& fact, FactKind kind) {
    return fact.fact && fact.fact->kind == kind;
}

const QString kNothing = QStringLiteral("（没填）");

}  // namespace

QString ReadableFact::question(const MissedFact& fact) {
    if (isKind(fact, FactKind::Money)) {
        const PracticeFact& money = *fact.fact;
        // The picture's own words for its value ("5角"); its number and unit otherwise.
        if (money.picture >= 1 && money.picture <= MoneyGenerator::kPictures) {
            return MoneyGenerator::forPicture(money.picture).deshu2;
        }
        return QString::number(money.money) + money.unit;
    }
    if (isKind(fact, FactKind::Clock)) {
        return QStringLiteral("钟面 %1点%2分").arg(fact.fact->hour).arg(fact.fact->minute);
    }
    return fact.shown;
}

QString ReadableFact::answer(const MissedFact& fact) {
    return typed(fact, fact.expected);
}

QString ReadableFact::typed(const MissedFact& fact, const QString& entry) {
    if (entry.isEmpty()) {
        return kNothing;
    }
    if (isKind(fact, FactKind::Money)) {
        return entry + fact.fact->unit;
    }
    if (isKind(fact, FactKind::Clock)) {
        // An empty field leaves its sign without a number before it: "3点分".
        static const QRegularExpression field(QStringLiteral("^(\\d*)点(\\d*)分$"));
        const QRegularExpressionMatch match = field.match(entry);
        if (match.hasMatch()) {
            const auto orBlank = [](const QString& n) {
                return n.isEmpty() ? QStringLiteral("□") : n;
            };
            return orBlank(match.captured(1)) + QStringLiteral("点") + orBlank(match.captured(2)) +
                   QStringLiteral("分");
        }
    }
    return entry;
}

QString ReadableFact::wrongAnswers(const MissedFact& fact) {
    QStringList out;
    for (const QString& entry : fact.wrongAnswers) {
        out << typed(fact, entry);
    }
    return out.join(QStringLiteral("、"));
}

}  // namespace sumbrook
