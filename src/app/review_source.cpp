#include "review_source.h"

#include <QDate>
#include <QLoggingCategory>

#include "journal/practice_journal.h"

namespace sumbrook {

namespace {

Q_LOGGING_CATEGORY(reviewLog, "sumbrook.review")

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
    return [journal = std::move(journal), childId] {
        // To be read from the journal once it answers per fact:
        // journal->factAnswers(childId), after journal->waitForWrites() so that a review
        // just finished is counted. Until then nothing is due and the main menu stays as it
        // was.
        const QVector<FactAnswer> answers;
        return reviewQuestions(FactLearning(answers).review(QDate::currentDate()));
    };
}

}  // namespace sumbrook
