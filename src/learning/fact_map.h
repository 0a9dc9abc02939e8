#pragma once

#include <vector>

#include "fact_learning.h"

namespace sumbrook {

// One cell of the fact map: the addition a + b or the subtraction a − b, with what the
// child's answers say of it. The cell gathers every two-number question of those numbers
// and that sign, whichever place was left blank ("7 + 8 = □", "7 + □ = 15", "□ + 8 = 15"),
// and reads as the least known of them.
struct FactCell {
    int a = 0;
    int b = 0;
    QChar sign = u'+';
    Fluency state = Fluency::New;
    std::vector<FactStanding> met;  // the questions of this cell the child met, by key
};

// The addition facts 0 + 0 to 10 + 10 and the subtraction facts within 20 as grids, for
// the parent's map. Pure: it reads the standings, it draws nothing.
class FactMap {
  public:
    static constexpr int kAddendMax = 10;
    static constexpr int kMinuendMax = 20;

    explicit FactMap(const FactLearning& learning);

    // Row a, column b: 11 × 11.
    const FactCell& addition(int a, int b) const;
    // Row a (0..20), column b (0..a).
    const FactCell& subtraction(int a, int b) const;
    // How many cells of both grids stand in each state, indexed by Fluency.
    int count(Fluency state) const;

  private:
    std::vector<FactCell> additions_;
    std::vector<FactCell> subtractions_;
};

}  // namespace sumbrook
