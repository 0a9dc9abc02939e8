#include "readable_fact.h"

#include <QRegularExpression>
#include <optional>

#include "practice/core/clock_generator.h"
#include "practice/core/money_generator.h"

namespace sumbrook {

namespace {

// The money screen's question names its picture and the unit beside the answer box.
struct MoneyShown {
    std::optional<MoneyQuestion> picture;  // when the picture number is one of the 47
    QString unit;
};

std::optional<MoneyShown> moneyShown(const MissedFact& fact) {
    if (fact.exercise != MoneyGenerator::kExercise) {
        return std::nullopt;
    }
    static const QRegularExpression pattern(QStringLiteral("^钱币图(\\d+)：□(.*)$"));
    const QRegularExpressionMatch match = pattern.match(fact.shown);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    MoneyShown shown;
    shown.unit = match.captured(2);
    const int picture = match.captured(1).toInt();
    if (picture >= 1 && picture <= MoneyGenerator::kPictures) {
        shown.picture = MoneyGenerator::forPicture(picture);
        shown.unit = shown.picture->danw;
    }
    return shown;
}

bool isClock(const MissedFact& fact) {
    return fact.exercise == ClockGenerator::kExercise;
}

const QString kNothing = QStringLiteral("（没填）");

}  // namespace

QString ReadableFact::question(const MissedFact& fact) {
    if (const std::optional<MoneyShown> money = moneyShown(fact)) {
        return money->picture ? money->picture->deshu2 : fact.expected + money->unit;
    }
    if (isClock(fact)) {
        return QStringLiteral("钟面 %1").arg(fact.shown);
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
    if (const std::optional<MoneyShown> money = moneyShown(fact)) {
        return entry + money->unit;
    }
    if (isClock(fact)) {
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
