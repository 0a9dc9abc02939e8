#include "parent_report.h"

#include <algorithm>

#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

ParentReport ParentReport::load(const JournalQueries& journal, int childId,
                                const JournalSpan& span) {
    // One row per exercise whatever the journal leaves out, so the table always has 37.
    ParentReport untried;
    untried.exercises.resize(ExerciseCatalogue::kLast);
    for (int n = ExerciseCatalogue::kFirst; n <= ExerciseCatalogue::kLast; ++n) {
        untried.exercises[n - 1].exercise = n;
    }
    // Half a report would pass for less practice than there was.
    const auto failed = [&journal, &untried] {
        untried.error = journal.readError();
        return !untried.error.isEmpty();
    };
    ParentReport report = untried;

    report.days = journal.dailyTallies(childId, span);
    if (failed()) {
        return untried;
    }
    std::sort(report.days.begin(), report.days.end(),
              [](const DayTally& a, const DayTally& b) { return a.day < b.day; });
    for (const DayTally& d : report.days) {
        report.asked += d.asked;
        report.right += d.right;
    }

    const QVector<ExerciseTally> tallies = journal.exerciseTallies(childId, span);
    if (failed()) {
        return untried;
    }
    for (const ExerciseTally& t : tallies) {
        if (ExerciseCatalogue::contains(t.exercise)) {
            report.exercises[t.exercise - 1] = t;
        }
    }

    report.mostMissed = journal.missedFacts(childId, span, kMissedAsked);
    if (failed()) {
        return untried;
    }
    std::stable_sort(report.mostMissed.begin(), report.mostMissed.end(),
                     [](const MissedFact& a, const MissedFact& b) {
                         if (a.missed != b.missed) {
                             return a.missed > b.missed;
                         }
                         return a.lastMissed > b.lastMissed;
                     });
    if (report.mostMissed.size() > kMissedShown) {
        report.mostMissed.resize(kMissedShown);
    }
    return report;
}

int ParentReport::mostTriedExercise() const {
    int best = 0;
    int tried = 0;
    for (const ExerciseTally& t : exercises) {
        if (t.tried > tried) {
            tried = t.tried;
            best = t.exercise;
        }
    }
    return best;
}

QVector<ParentReport::DailyMedian> ParentReport::dailyMedians(
    const QVector<AnswerTimePoint>& times) {
    QVector<AnswerTimePoint> sorted = times;
    std::sort(sorted.begin(), sorted.end(),
              [](const AnswerTimePoint& a, const AnswerTimePoint& b) { return a.at < b.at; });
    QVector<DailyMedian> out;
    std::vector<std::int64_t> day;
    QDateTime firstAt;
    QDateTime lastAt;
    auto flush = [&](const QDate& date) {
        if (day.empty()) {
            return;
        }
        const auto middle = day.begin() + static_cast<std::ptrdiff_t>(day.size() / 2);
        std::nth_element(day.begin(), middle, day.end());
        std::int64_t median = *middle;
        if (day.size() % 2 == 0) {
            const std::int64_t below = *std::max_element(day.begin(), middle);
            median = (below + median) / 2;
        }
        out.append({date, firstAt.addMSecs(firstAt.msecsTo(lastAt) / 2), median});
        day.clear();
    };
    QDate current;
    for (const AnswerTimePoint& p : sorted) {
        const QDate date = p.at.date();
        if (date != current) {
            flush(current);
            current = date;
            firstAt = p.at;
        }
        lastAt = p.at;
        day.push_back(p.ms);
    }
    flush(current);
    return out;
}

QString ParentReport::secondsText(std::int64_t ms) {
    if (ms < 60000) {
        return QStringLiteral("%1秒").arg(static_cast<double>(ms) / 1000.0, 0, 'f', 1);
    }
    const std::int64_t seconds = ms / 1000;
    return QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

QString ParentReport::percentText(int right, int asked) {
    if (asked <= 0) {
        return QStringLiteral("—");
    }
    return QStringLiteral("%1%").arg(qRound(100.0 * right / asked));
}

}  // namespace sumbrook
