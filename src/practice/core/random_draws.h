#pragma once

#include "common/uniform_source.h"

namespace sumbrook {

// drawUpTo(n) = trunc(u × n − 0.001) + 1: 1..n for n ≥ 1, and 1 for n = 0, on which
// some generators rely (exercise 20's 100 − 90, for one).
int drawUpTo(UniformSource& source, int n);

// 0 or 1 with equal chance: trunc(u × 2 − 0.00001).
int coin(UniformSource& source);

// trunc(u × count): 0..count−1, the scene's plain choice among count forms.
int choice(UniformSource& source, int count);

// 0, 1 or 2: trunc(u × 3 − 0.0000001), which picks one of three praise or comfort clips.
int pickOfThree(UniformSource& source);

}  // namespace sumbrook
