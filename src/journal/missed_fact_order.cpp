#include "missed_fact_order.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace sumbrook {

void MissedFactOrder::sort(QVector<MissedFact>& facts, int limit) {
    if (facts.isEmpty()) {
        return;
    }
    // Each fact's misses count for less the longer ago it was last missed, halving every
    // two weeks before the latest miss in the span.
    QDateTime latest;
    for (const MissedFact& f : facts) {
        latest = std::max(latest, f.lastMissed);
    }
    constexpr double kHalfLifeDays = 14.0;
    const auto weight = [&](const MissedFact& f) {
        const double days = static_cast<double>(f.lastMissed.msecsTo(latest)) / 86400000.0;
        return f.missed * std::exp2(-days / kHalfLifeDays);
    };
    std::stable_sort(facts.begin(), facts.end(), [&](const MissedFact& a, const MissedFact& b) {
        const double wa = weight(a);
        const double wb = weight(b);
        if (wa != wb) {
            return wa > wb;
        }
        if (a.lastMissed != b.lastMissed) {
            return a.lastMissed > b.lastMissed;
        }
        return std::tie(a.exercise, a.shown) < std::tie(b.exercise, b.shown);
    });
    if (facts.size() > limit) {
        facts.resize(std::max(limit, 0));
    }
}

}  // namespace sumbrook
