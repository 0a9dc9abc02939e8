#include "question_draw_loop.h"

#include <algorithm>
#include <cmath>

#include "generation_error.h"
#include "worksheet_counts.h"

namespace sumbrook {

namespace {

// A count counts as reached once it is less than this short of it.
constexpr double kTolerance = 1e-7;

// How many refusals in a row mean that the subtype has run out of questions. It grows with
// the list so that the last few questions of a large pool, each hit once in thousands of
// draws, are still found.
long long refusalLimit(const QuestionList& list) {
    return std::max<long long>(10'000, 32LL * list.size());
}

}  // namespace

void RunQuestionDrawLoop(const QString& subtype, double count, WorksheetRandom& random,
                         QuestionList& list, const QuestionDraw& draw) {
    random.Reseed();
    int accepted = 0;
    long long refusals = 0;
    while (accepted - count < -kTolerance) {
        const WorksheetQuestion candidate = draw(accepted);
        if (list.AddUnique(candidate.text, candidate.answer)) {
            ++accepted;
            refusals = 0;
        } else if (++refusals >= refusalLimit(list)) {
            throw GenerationError(QStringLiteral("Subtype \"%1\" ran out of different questions: "
                                                 "made %2 of the %3 asked for.")
                                      .arg(subtype)
                                      .arg(accepted)
                                      .arg(QString::number(std::ceil(count - kTolerance), 'f', 0))
                                      .toStdString());
        }
    }
}

QString subtypeLabel(int tag) {
    return QString::fromUtf8(countField(tag).label);
}

}  // namespace sumbrook
