#pragma once

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QString>

#include "printout_pdf.h"

namespace sumbrook {

// The print preview of a printout that paints itself page by page (the class's mistakes
// sheets, the week's report): A4 portrait, painted from the paper's corner by the same
// routine that writes the PDF, so what is shown is what prints. Printing from it, or to a
// PDF through its print dialog, gives the same pages. It owns no data of the printout.
class PrintoutPreview : public QObject {
    Q_OBJECT
  public:
    PrintoutPreview(QWidget* parent, const QString& title, PrintoutPdf::Painting painting);
    ~PrintoutPreview() override;

    // Opens the preview, or brings it to the front when it is open.
    void open();
    QPrintPreviewDialog* dialog() const { return dialog_; }
    // Paints the printout on a printer (or a PDF printer).
    void print(QPrinter* printer) const;
    QPrinter& printer() { return printer_; }

  private:
    QWidget* parent_;
    QString title_;
    PrintoutPdf::Painting painting_;
    QPrinter printer_;
    QPointer<QPrintPreviewDialog> dialog_;
};

// The two ways out of a printout that paints itself (a `title()` and a const
// `paint(QPainter&, QPagedPaintDevice&)`): a PDF file, and the print preview, opened.
template <typename Printout>
bool writePrintoutPdf(const Printout& printout, const QString& path, QString* error) {
    return PrintoutPdf::write(
        path, printout.title(),
        [&printout](QPainter& painter, QPagedPaintDevice& device) {
            printout.paint(painter, device);
        },
        error);
}

template <typename Printout>
PrintoutPreview* openPrintoutPreview(const Printout& printout, QWidget* parent) {
    auto* preview = new PrintoutPreview(
        parent, printout.title(), [copy = printout](QPainter& painter, QPagedPaintDevice& device) {
            copy.paint(painter, device);
        });
    preview->open();
    return preview;
}

}  // namespace sumbrook
