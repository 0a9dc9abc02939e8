#include "week_report.h"

#include <limits>
#include <set>

#include "learning/fact_learning.h"
#include "printout_pdf.h"
#include "printout_preview.h"
#include "week_report_painter.h"

namespace sumbrook {

namespace {

// The facts a pupil knows fluently, judged on their answers before `beforeMs` alone.
std::set<QString> fluentBefore(const QVector<FactAnswer>& answers, std::int64_t beforeMs) {
    QVector<FactAnswer> earlier;
    earlier.reserve(answers.size());
    for (const FactAnswer& a : answers) {
        if (a.atMs < beforeMs) {
            earlier.append(a);
        }
    }
    const FactLearning learning(earlier);
    std::set<QString> out;
    for (const FactStanding& s : learning.facts()) {
        if (s.state == Fluency::Fluent) {
            out.insert(s.fact.key());
        }
    }
    return out;
}

}  // namespace

bool WeekReport::addAnswerTimes(const JournalQueries& pupils, PupilRow& row) const {
    // The tallies of the exercises, and the review runs, which no exercise counts.
    const auto add = [&](int exercise) {
        for (const AnswerTimePoint& p : pupils.answerTimes(row.pupil.id, exercise, span_)) {
            row.practisedMs += p.ms;
        }
        return pupils.readError().isEmpty();
    };
    int inExercises = 0;
    for (const ExerciseTally& t : row.report.exercises) {
        inExercises += t.tried;
        if (t.tried > 0 && !add(t.exercise)) {
            return false;
        }
    }
    return row.report.asked <= inExercises || add(kReviewRunExercise);
}

WeekReport WeekReport::build(const ClassQueries& pupilsOfClass, const JournalQueries& pupils,
                             const JournalSpan& span) {
    WeekReport out;
    out.span_ = span;
    // Half a class would pass for a class that did less.
    const auto failed = [span](const QString& why) {
        WeekReport empty;
        empty.span_ = span;
        empty.error_ = why;
        return empty;
    };

    const QVector<ListedPupil> list = pupilsOfClass.pupils();
    if (!pupilsOfClass.readError().isEmpty()) {
        return failed(pupilsOfClass.readError());
    }
    for (const ListedPupil& listed : list) {
        if (listed.left) {
            continue;
        }
        PupilRow row;
        row.pupil = listed;
        row.report = ParentReport::load(pupils, listed.id, span);
        if (!row.report.error.isEmpty()) {
            return failed(row.report.error);
        }
        if (row.report.isEmpty()) {
            // Without an answer in the span nothing can have become fluent or taken time.
            out.rows_.push_back(std::move(row));
            continue;
        }
        const QVector<FactAnswer> answers = pupils.factAnswers(listed.id);
        if (!pupils.readError().isEmpty()) {
            return failed(pupils.readError());
        }
        const std::int64_t fromMs = span.from.isValid() ? span.from.toMSecsSinceEpoch()
                                                        : std::numeric_limits<std::int64_t>::min();
        const std::int64_t endMs = span.to.isValid() ? span.to.toMSecsSinceEpoch()
                                                     : std::numeric_limits<std::int64_t>::max();
        // Each answer's own time, summed. The fact answers hold them all unless some answer
        // of the span has no fact (an old row): then every exercise's times are read.
        int counted = 0;
        for (const FactAnswer& a : answers) {
            if (a.atMs >= fromMs && a.atMs < endMs) {
                row.practisedMs += a.ms;
                ++counted;
            }
        }
        if (counted != row.report.asked) {
            row.practisedMs = 0;
            if (!out.addAnswerTimes(pupils, row)) {
                return failed(pupils.readError());
            }
        }

        const std::set<QString> atEnd = fluentBefore(answers, endMs);
        const std::set<QString> atStart =
            span.from.isValid() ? fluentBefore(answers, fromMs) : std::set<QString>{};
        for (const QString& key : atEnd) {
            row.becameFluent += atStart.count(key) == 0 ? 1 : 0;
        }
        for (const MissedFact& f : row.report.mostMissed) {
            if (!f.fact || atEnd.count(f.fact->key()) == 0) {
                row.stillMissed.append(f);
            }
        }
        out.rows_.push_back(std::move(row));
    }

    out.heatMap_ = pupilsOfClass.heatMap(span);
    if (!pupilsOfClass.readError().isEmpty()) {
        return failed(pupilsOfClass.readError());
    }
    out.mostMissed_ = pupilsOfClass.mostMissed(span, kClassMissedShown);
    if (!pupilsOfClass.readError().isEmpty()) {
        return failed(pupilsOfClass.readError());
    }
    return out;
}

QString WeekReport::spanText(const JournalSpan& span) {
    const QDate last = span.to.addMSecs(-1).date();
    const auto full = [](const QDate& d) {
        return QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
    };
    if (!span.from.isValid()) {
        return QStringLiteral("截至") + full(last);
    }
    const QDate first = span.from.date();
    if (first.year() != last.year()) {
        return full(first) + QStringLiteral("—") + full(last);
    }
    return full(first) + QStringLiteral("—%1月%2日").arg(last.month()).arg(last.day());
}

JournalSpan WeekReport::weekOf(const QDate& day) {
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    return daysFrom(monday, monday.addDays(6));
}

JournalSpan WeekReport::daysFrom(const QDate& from, const QDate& to) {
    return {from.startOfDay(), to.addDays(1).startOfDay()};
}

QString WeekReport::durationText(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000;
    if (seconds < 60) {
        return QStringLiteral("%1秒").arg(seconds);
    }
    const std::int64_t minutes = seconds / 60;
    if (minutes < 60) {
        return QStringLiteral("%1分").arg(minutes);
    }
    return QStringLiteral("%1小时%2分").arg(minutes / 60).arg(minutes % 60, 2, 10, QChar(u'0'));
}

int WeekReport::asked() const {
    int n = 0;
    for (const PupilRow& r : rows_) {
        n += r.report.asked;
    }
    return n;
}

int WeekReport::right() const {
    int n = 0;
    for (const PupilRow& r : rows_) {
        n += r.report.right;
    }
    return n;
}

std::int64_t WeekReport::practisedMs() const {
    std::int64_t n = 0;
    for (const PupilRow& r : rows_) {
        n += r.practisedMs;
    }
    return n;
}

int WeekReport::paint(QPainter& painter, QPagedPaintDevice& device) const {
    return WeekReportPainter(*this).paint(painter, device);
}

bool WeekReport::writePdf(const QString& path, QString* error) const {
    return writePrintoutPdf(*this, path, error);
}

PrintoutPreview* WeekReport::openPreview(QWidget* parent) const {
    return openPrintoutPreview(*this, parent);
}

}  // namespace sumbrook
