#pragma once

#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "common/uniform_source.h"
#include "journal/practice_journal.h"
#include "practice/core/practice_observer.h"
#include "practice/core/question_generator.h"

namespace sumbrook::testing {

// Plausible practice for tests, benchmarks and screenshots: one session a day in the late
// afternoon, the last one begun early enough to end about `end`, each of a few exercise runs made
// of the practice's own questions and texts, answered a little faster and more surely as the days
// go by, with a handful of facts (7 + 8 and the like) the child keeps getting wrong. Runs that
// reach a score of 100 are recorded as completions. The same seed gives the same journal.
inline void fillSampleJournal(PracticeJournal& journal, int childId, int days, int questionsPerDay,
                              quint32 seed, QDateTime end) {
    static constexpr int kExercises[] = {3, 7, 9, 12, 17, 21, 26, 30, 33, 36, 37};
    std::mt19937 random(seed);
    SeededUniformSource source(seed);
    const auto uniform = [&random] { return std::uniform_real_distribution<double>(0, 1)(random); };
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };

    for (int d = 0; d < days; ++d) {
        const double progress = days > 1 ? static_cast<double>(d) / (days - 1) : 1.0;
        const QDate day = end.date().addDays(d - (days - 1));
        QDateTime at(day, QTime(16, 30).addSecs(60 * pick(150)));
        const QDateTime latestStart = end.addSecs(-12 * static_cast<qint64>(questionsPerDay) - 60);
        if (at > latestStart) {
            at = latestStart;
        }
        int remaining = questionsPerDay;
        while (remaining > 0) {
            const int exercise = kExercises[pick(static_cast<int>(std::size(kExercises)))];
            journal.recordRunStart(childId, exercise, at);
            const QDateTime runStart = at;
            int score = 0;
            bool completed = false;
            while (remaining > 0 && !completed) {
                const Question question = QuestionGenerator::generate(exercise, source);
                const QString shown = shownQuestionText(question);
                // Facts whose text hashes to a multiple of 5 are the child's stumbling
                // blocks: the same few come up again and again in the small ranges.
                const bool troublesome = qHash(shown, 0) % 5 == 0;
                const double missRate = troublesome ? 0.55 : 0.14 - 0.08 * progress;
                const bool right = uniform() >= missRate;

                QString answer;
                QString minute;
                const int deshu = expectedAnswer(question);
                if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
                    answer = QString::number(right ? deshu : (deshu % 12) + 1);
                    minute = QString::number(clock->deshu0);
                } else {
                    static constexpr int kSlips[] = {-2, -1, 1, 2, 10};
                    int typed = deshu;
                    while (!right && (typed == deshu || typed < 0)) {
                        typed = deshu + kSlips[pick(5)];
                    }
                    answer = QString::number(typed);
                }

                const double lognormal =
                    std::exp(0.35 * std::normal_distribution<double>()(random));
                const double base = (6500.0 - 2500.0 * progress) * (right ? 1.0 : 1.4) *
                                    (troublesome ? 1.3 : 1.0) * lognormal;
                const auto ms = static_cast<std::int64_t>(std::clamp(base, 900.0, 60000.0));
                at = at.addMSecs(ms);

                AnsweredQuestion record;
                record.at = at;
                record.childId = childId;
                record.exercise = exercise;
                record.shown = shown;
                record.expected = expectedAnswerText(question);
                record.typed = typedAnswerText(question, answer, minute);
                record.right = right;
                record.ms = ms;
                record.fact = factOf(question);
                journal.recordAnswer(record);
                --remaining;

                if (right && score + 5 > 99) {
                    journal.recordCompletion(childId, exercise, runStart.msecsTo(at), at);
                    completed = true;
                } else {
                    score = right ? score + 5 : std::max(0, score - 5);
                }
                at = at.addMSecs(1500);  // the answer screen and "下一题"
            }
            journal.recordRunEnd(childId, exercise, at);
            at = at.addSecs(20 + pick(60));
        }
    }
}

}  // namespace sumbrook::testing
