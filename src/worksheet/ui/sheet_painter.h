#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "worksheet/core/sheet.h"

namespace sumbrook {

// Paints a sheet as it stands on A4 paper. The preview, the print preview, the printer
// and the PDF file all go through here, so what is shown is what prints. It paints; it
// does not decide what is on the sheet.
class SheetPainter {
  public:
    static constexpr int kPageWidth = 2100;  // A4 in tenths of a millimetre
    static constexpr int kPageHeight = 2970;

    // Paints the page with the painter's units in tenths of a millimetre, (0, 0) at the
    // paper's top-left corner.
    static void paintPage(QPainter& painter, const Sheet& sheet);
    // Paints one sheet a page on a printer or PDF writer whose painter is active, the
    // paper's corner at the device's origin, each on the device's paper and margins.
    static void paintPages(QPainter& painter, QPagedPaintDevice& device,
                           const std::vector<Sheet>& pages);
    // Paints the sheet on `paper` (its size, orientation and margins), the painter's origin
    // at the paper's corner, `dotsPerInch` device pixels to the inch.
    static void paintOnPaper(QPainter& painter, const Sheet& sheet, const QPageLayout& paper,
                             double dotsPerInch);

    // The sheet's own page: A4 portrait at its stored margins.
    static QPageLayout pageLayoutOf(const Sheet& sheet);
    // From the sheet's page (tenths of a millimetre on A4) to `paper` (tenths of a
    // millimetre from its corner). On the sheet's own page nothing moves; on any other
    // paper, or inside other margins, the grid is scaled down until it fits inside the
    // margins, whole, centred across and at the top margin. Never scaled up.
    static QTransform placement(const Sheet& sheet, const QPageLayout& paper);
    // Paints the page scaled into `target` (device units), keeping its proportions.
    static void paintPageInto(QPainter& painter, const Sheet& sheet, const QRectF& target);

    // Where the grid stands on the page: inside the margins, centred across.
    static QRectF gridRect(const Sheet& sheet);
    // A cell's rectangle on the page, widened over the cells it is joined with.
    static QRectF cellRect(const Sheet& sheet, int row, int column);

    // Columns a character takes in a fixed-pitch vertical form: two for full-width signs,
    // rules and ideographs, one otherwise.
    static int columnsOf(QChar c);
};

}  // namespace sumbrook
