#include "time_questions.h"

#include "question_draw_loop.h"

namespace sumbrook {

namespace {

WorksheetQuestion timeOf(int hour, int minute) {
    return {QString::number(hour) + u',' + QString::number(minute),
            QString::number(hour) + QStringLiteral("时") + QString::number(minute) +
                QStringLiteral("分")};
}

}  // namespace

void GenerateTimeQuestions(const WorksheetCounts& counts, WorksheetRandom& random,
                           QuestionList& list) {
    auto R = [&random](int lo, int hi) { return random.RandomInt(lo, hi); };
    const auto run = [&](int tag, const QuestionDraw& draw) {
        RunQuestionDrawLoop(subtypeLabel(tag), counts.count(tag), random, list, draw);
    };

    // The order of the rows on the page, which the sheet's faces follow, not the tag order.
    run(21, [&](int) { return timeOf(R(1, 12), 0); });

    run(22, [&](int) { return timeOf(R(1, 12), 30); });

    run(23, [&](int) {
        const int hour = R(1, 12);
        int k = R(1, 11);
        while (k == 6) {  // half past belongs to the row above
            k = R(1, 11);
        }
        return timeOf(hour, 5 * k);
    });

    run(25, [&](int) {
        const int hour = R(1, 12);
        return timeOf(hour, 15 * R(1, 4) - 15);
    });

    run(24, [&](int) {
        const int hour = R(1, 12);
        return timeOf(hour, R(1, 60) - 1);
    });
}

}  // namespace sumbrook
