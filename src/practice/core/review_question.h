#pragma once

#include <functional>
#include <vector>

#include "question.h"

namespace sumbrook {

// One question of a review run: the question asked again, and the exercise the child
// first met it in, which its answer is told under. Says nothing of why it is due.
struct ReviewQuestion {
    Question question;
    int xiangm = 0;
};

// The questions due for review, in the order they are to be asked; none when nothing is
// due. Asked each time the main menu comes up, so it must answer quickly.
using ReviewSource = std::function<std::vector<ReviewQuestion>()>;

}  // namespace sumbrook
