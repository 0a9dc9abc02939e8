#pragma once

#include <QDate>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QVector>
#include <cstdint>
#include <vector>

#include "classroom/class_queries.h"
#include "journal/journal_queries.h"
#include "parent/parent_report.h"

class QWidget;

namespace sumbrook {

class PrintoutPreview;

// "班级周报": what the class did over a span, as a teacher hands it on. One row a pupil on
// the list (not those who left), in the list's order, with the figures of that pupil's own
// window (ParentReport over the same JournalQueries and span, never figures of its own), the
// time practised, the facts that became fluent and those still missed; and for the class the
// heat map and the most-missed facts from ClassQueries. It reads once, when built, and
// paints through WeekReportPainter; it writes nothing to the server.
class WeekReport {
  public:
    static constexpr int kClassMissedShown = 10;
    static constexpr int kStillMissedShown = 3;  // read out in a pupil's row

    struct PupilRow {
        ListedPupil pupil;
        ParentReport report;
        std::int64_t practisedMs = 0;  // the time taken on every question of the span
        int becameFluent = 0;          // fluent at the span's end and not at its start
        // Of the pupil's most-missed facts of the span, those not fluent at its end, most
        // often missed first.
        QVector<MissedFact> stillMissed;
    };

    // A read that fails ends the building: the report then holds nothing but error().
    static WeekReport build(const ClassQueries& pupilsOfClass, const JournalQueries& pupils,
                            const JournalSpan& span);

    static QString title() { return QStringLiteral("班级周报"); }
    // "2026年12月7日—12月13日": the span's first and last day (its `to` is the day after).
    static QString spanText(const JournalSpan& span);
    // Monday to Sunday of the week of `day`.
    static JournalSpan weekOf(const QDate& day);
    // The days `from` to `to`, both included.
    static JournalSpan daysFrom(const QDate& from, const QDate& to);
    // "45秒", "25分", "1小时05分".
    static QString durationText(std::int64_t ms);

    const std::vector<PupilRow>& rows() const { return rows_; }
    const ClassHeatMap& heatMap() const { return heatMap_; }
    const QVector<ClassMissedFact>& mostMissed() const { return mostMissed_; }
    const JournalSpan& span() const { return span_; }
    const QString& error() const { return error_; }
    // The class's totals over the rows.
    int asked() const;
    int right() const;
    std::int64_t practisedMs() const;

    // Paints the report on an active painter of a printer or PDF writer whose painting
    // starts at the paper's corner; the number of pages painted.
    int paint(QPainter& painter, QPagedPaintDevice& device) const;
    bool writePdf(const QString& path, QString* error) const;
    PrintoutPreview* openPreview(QWidget* parent) const;

  private:
    // The time of every answer of the span, read exercise by exercise; false when a read
    // failed.
    bool addAnswerTimes(const JournalQueries& pupils, PupilRow& row) const;

    std::vector<PupilRow> rows_;
    ClassHeatMap heatMap_;
    QVector<ClassMissedFact> mostMissed_;
    JournalSpan span_;
    QString error_;
};

}  // namespace sumbrook
