#pragma once

#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <memory>
#include <vector>

#include "common/output_file.h"
#include "worksheet/core/sheet.h"

namespace sumbrook {

// Writes sheets into one PDF file, one sheet a page, each on A4 portrait at its own
// margins. Pages are painted as they are added, so a batch of any length needs no more
// memory than one page. The file is written by OutputFile's rule: a regular file only
// takes the place of the old one once complete, and a device is never replaced.
class SheetPdfWriter {
  public:
    explicit SheetPdfWriter(const QString& path);
    ~SheetPdfWriter();

    // False, with a reason in *error, when the file cannot be written.
    bool open(QString* error);
    // Paints the sheet as the next page. Only between a successful open() and finish().
    void addPage(const Sheet& sheet);
    int pageCount() const { return pages_; }
    // Ends the document; false, with a reason, when the file could not be completed.
    bool finish(QString* error);
    // Ends without a document: a file that was being replaced stays as it was.
    void abandon();

    // The whole file at once.
    static bool write(const QString& path, const std::vector<Sheet>& pages, QString* error);

  private:
    QString path_;
    OutputFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    int pages_ = 0;
};

}  // namespace sumbrook
