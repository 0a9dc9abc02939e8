#pragma once

#include <QString>
#include <vector>

#include "fact_learning.h"

namespace sumbrook {

// What the parent is told to practise next: one exercise and one short sentence that
// says why. Reads the fact standings only; knows nothing of how they are shown.
struct NextStep {
    int exercise = 0;  // 1..37; 0 when every exercise is tried and known
    QString sentence;

    // The exercise with the most facts still being learnt, then the most slow ones, the
    // lowest number on a tie, since the menu runs from easy to hard. When nothing is being
    // learnt or slow, the first exercise not tried yet; when every one is tried, praise.
    static NextStep of(const std::vector<FactStanding>& standings);
};

}  // namespace sumbrook
