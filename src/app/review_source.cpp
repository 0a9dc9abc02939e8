#include "review_source.h"

#include <QDate>
#include <QLoggingCategory>

#include "journal/practice_journal.h"

namespace sumbrook {

namespace {

Q_LOGGING_CATEGORY(reviewLog, "sumbrook.review")

constexpr std::chrono::milliseconds kReviewWriteWait{500};

}  // namespace

std::vector<ReviewQuestion> reviewQuestions(const std::vector<ReviewItem>& items) {
    std::vector<ReviewQuestion> questions;
    questions.reserve(items.size());
    for (const ReviewItem& item : items) {
        if (auto question = questionOf(item.fact)) {
            questions.push_back({std::move(*question), item.exercise});
        } else {
            qCWarning(reviewLog) << "review goes on without the fact" << item.fact.key()
                                 << "of exercise" << item.exercise << ": no screen can ask it";
        }
    }
    return questions;
}

ReviewSource reviewSourceFor(std::shared_ptr<PracticeJournal> journal, int childId) {
    return [journal = std::move(journal), childId, told = false]() mutable {
        // The answers of a review or exercise just left are counted once committed; a
        // journal that cannot take them now (another program holds it) is not waited for
        // long, and its review is what was committed.
        if (!journal->waitForWrites(kReviewWriteWait) && !told) {
            told = true;
            qCInfo(reviewLog) << "the review is read before the latest answers are written";
        }
        return reviewQuestions(
            FactLearning(journal->factAnswers(childId)).review(QDate::currentDate()));
    };
}

}  // namespace sumbrook
