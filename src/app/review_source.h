#pragma once

#include <memory>
#include <vector>

#include "learning/fact_learning.h"
#include "practice/core/review_question.h"

namespace sumbrook {

class PracticeJournal;

// The questions that ask the review's facts again, in the review's order. A fact no
// screen can ask (a damaged journal row) is left out, and said so in the log.
std::vector<ReviewQuestion> reviewQuestions(const std::vector<ReviewItem>& items);

// The practice scene's review for one child: the facts the learning rules find due today,
// read from the journal each time the main menu comes up.
ReviewSource reviewSourceFor(std::shared_ptr<PracticeJournal> journal, int childId);

}  // namespace sumbrook
