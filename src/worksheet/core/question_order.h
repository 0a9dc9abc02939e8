#pragma once

#include <vector>

#include "worksheet_random.h"

namespace sumbrook {

// The order in which a sheet shows its n questions: a random permutation of the 1-based
// positions 1 to n, drawn after a Reseed. The clock sheet does not use it.
std::vector<int> BuildQuestionOrder(int n, WorksheetRandom& random);

}  // namespace sumbrook
