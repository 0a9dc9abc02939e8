#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>

namespace sumbrook {

// Writes a printout that paints itself page by page into one A4 PDF, its painting starting
// at the paper's corner, by OutputFile's rule (an old file is replaced only by a whole new
// one). The same painting goes to the printer through PrintoutPreview. It decides nothing
// about what is on the pages.
class PrintoutPdf {
  public:
    using Painting = std::function<void(QPainter&, QPagedPaintDevice&)>;

    // False with one line in *error when the file cannot be written.
    static bool write(const QString& path, const QString& title, const Painting& painting,
                      QString* error);
};

}  // namespace sumbrook
