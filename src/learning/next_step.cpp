#include "next_step.h"

#include <array>

#include "practice/core/exercise_catalogue.h"
#include "practice/core/practice_observer.h"

namespace sumbrook {

namespace {

struct Tally {
    bool tried = false;
    int learning = 0;
    int slow = 0;
    const FactStanding* mostMissed = nullptr;  // among its learning facts
    const FactStanding* slowest = nullptr;     // among its slow facts
};

// The fact as a parent reads it: "7 + 8", "7 + □ = 15", "3点15分", "5角".
QString factText(const FactStanding& standing) {
    const PracticeFact& fact = standing.fact;
    if (fact.kind == FactKind::Money) {
        return QString::number(fact.money) + fact.unit;
    }
    const auto question = questionOf(fact);
    if (!question) {
        return fact.key();
    }
    QString text = shownQuestionText(*question);
    const QString askedResult = QStringLiteral(" = □");
    if (text.endsWith(askedResult)) {
        text.chop(askedResult.size());
    }
    return text;
}

QString named(int exercise) {
    return QStringLiteral("第%1项“%2”").arg(exercise).arg(ExerciseCatalogue::title(exercise));
}

}  // namespace

NextStep NextStep::of(const std::vector<FactStanding>& standings) {
    std::array<Tally, ExerciseCatalogue::kLast + 1> tallies{};
    for (const FactStanding& s : standings) {
        if (!ExerciseCatalogue::contains(s.exercise) || s.asked == 0) {
            continue;
        }
        Tally& t = tallies[static_cast<std::size_t>(s.exercise)];
        t.tried = true;
        if (s.state == Fluency::Learning) {
            ++t.learning;
            if (t.mostMissed == nullptr || s.missed > t.mostMissed->missed) {
                t.mostMissed = &s;
            }
        } else if (s.state == Fluency::Slow) {
            ++t.slow;
            if (t.slowest == nullptr || s.medianMs > t.slowest->medianMs) {
                t.slowest = &s;
            }
        }
    }

    int best = 0;
    for (int e = ExerciseCatalogue::kFirst; e <= ExerciseCatalogue::kLast; ++e) {
        const Tally& t = tallies[static_cast<std::size_t>(e)];
        const Tally& b = tallies[static_cast<std::size_t>(best)];
        if (t.learning + t.slow > 0 && (best == 0 || t.learning > b.learning ||
                                        (t.learning == b.learning && t.slow > b.slow))) {
            best = e;
        }
    }
    if (best != 0) {
        const Tally& t = tallies[static_cast<std::size_t>(best)];
        if (t.learning > 0) {
            return {best, QStringLiteral("先练%1：有%2道题还没掌握，最常错的是 %3。")
                              .arg(named(best))
                              .arg(t.learning)
                              .arg(factText(*t.mostMissed))};
        }
        return {best, QStringLiteral("先练%1：有%2道题会做但还不够快，最慢的是 %3。")
                          .arg(named(best))
                          .arg(t.slow)
                          .arg(factText(*t.slowest))};
    }

    bool anyTried = false;
    for (int e = ExerciseCatalogue::kFirst; e <= ExerciseCatalogue::kLast; ++e) {
        anyTried = anyTried || tallies[static_cast<std::size_t>(e)].tried;
    }
    for (int e = ExerciseCatalogue::kFirst; e <= ExerciseCatalogue::kLast; ++e) {
        if (!tallies[static_cast<std::size_t>(e)].tried) {
            return {
                e,
                anyTried
                    ? QStringLiteral("练过的题都熟练了，接着练%1，这一项还没练过。").arg(named(e))
                    : QStringLiteral("先从%1开始吧，这一项还没练过。").arg(named(e))};
        }
    }
    return {0, QStringLiteral("%1项练习的题都已熟练，真棒！每天做做复习就能保持。")
                   .arg(ExerciseCatalogue::kLast)};
}

}  // namespace sumbrook
