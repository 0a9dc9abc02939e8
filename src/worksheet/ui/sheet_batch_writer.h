#pragma once

#include <QString>
#include <vector>

#include "sheet_pdf_writer.h"
#include "worksheet/core/sheet.h"

namespace sumbrook {

// Where a batch puts the answer pages.
enum class AnswerPages { None, EachAfterItsSheet, AllAtTheEnd };

// A batch of sheets in one PDF, as a teacher prints it for a class: every sheet of a batch
// of more than one, and its answer page, carry the same copy number ("第 3 份"), and the
// answer pages follow their sheets or are gathered at the end. Sheets are painted as they
// come; only the gathered answer pages wait.
class SheetBatchWriter {
  public:
    SheetBatchWriter(const QString& path, int copies, AnswerPages answers);

    bool open(QString* error);
    // The sheet and the answer page of copy `copy` (1-based).
    void add(int copy, Sheet sheet, Sheet answers);
    bool finish(QString* error);
    void abandon() { pdf_.abandon(); }
    int pageCount() const { return pdf_.pageCount(); }

    // "第 3 份"
    static QString copyMark(int copy);

  private:
    SheetPdfWriter pdf_;
    int copies_;
    AnswerPages answers_;
    std::vector<Sheet> keysAtTheEnd_;
};

}  // namespace sumbrook
