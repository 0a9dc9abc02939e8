#pragma once

#include <QDateTime>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QVector>
#include <vector>

#include "classroom/class_queries.h"
#include "journal/journal_queries.h"
#include "worksheet/core/mistakes_sheet.h"
#include "worksheet/core/sheet.h"

class QWidget;

namespace sumbrook {

class PrintoutPreview;

// "全班错题卷": for each pupil on the class list (not those who left), in the list's order,
// their own mistakes sheet over the last days, built as one child's sheet is, with their
// name on the name line and their number (学号) in the corner, and its answer key right
// after it. A pupil who missed nothing gets no page. It reads the class and each pupil
// through the query interfaces once, when built; it writes nothing to the server.
class ClassSheets {
  public:
    static constexpr int kMissedAsked = 200;  // as the one child's command asks

    struct PupilSheets {
        ListedPupil pupil;
        MistakesSheet mistakes;
        Sheet sheet;
        Sheet answerKey;
    };

    // The pupils' missed facts over the `days` days up to and including `now`'s day. A read
    // that fails ends the building: the result then holds nothing but error().
    static ClassSheets build(const ClassQueries& pupilsOfClass, const JournalQueries& pupils,
                             const QDateTime& now, int days);

    static QString title() { return QStringLiteral("全班错题卷"); }
    // "学号 07": what stands in each sheet's corner.
    static QString numberMark(const ClassPupil& pupil);

    const std::vector<PupilSheets>& sheets() const { return sheets_; }
    // The pupils on the list who missed no sum in the span, in the list's order.
    const QVector<ListedPupil>& withoutMistakes() const { return withoutMistakes_; }
    const JournalSpan& span() const { return span_; }
    // The server's reason when a read failed; empty when everything was read.
    const QString& error() const { return error_; }
    bool isEmpty() const { return sheets_.empty(); }

    // Each pupil's sheet followed by its answer key.
    std::vector<Sheet> pages() const;
    // Paints pages() on an active painter of a printer or PDF writer whose painting starts
    // at the paper's corner, each sheet at its own margins.
    void paint(QPainter& painter, QPagedPaintDevice& device) const;
    // False with one line in *error when the file cannot be written.
    bool writePdf(const QString& path, QString* error) const;
    // The print preview of pages(), owned by `parent`, opened.
    PrintoutPreview* openPreview(QWidget* parent) const;

  private:
    std::vector<PupilSheets> sheets_;
    QVector<ListedPupil> withoutMistakes_;
    JournalSpan span_;
    QString error_;
};

}  // namespace sumbrook
