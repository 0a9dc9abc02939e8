#pragma once

#include <QCheckBox>
#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <functional>
#include <optional>
#include <vector>

#include "worksheet/core/sheet.h"

namespace sumbrook {

// The print preview of the current sheet: exactly the pages that print, A4 portrait at
// the sheet's margins, with an option to add the answer key as a second page. Printing
// from it, or to a PDF file through its print dialog, gives the same pages. Page Setup
// shows the sheet's margins; margins typed there take their place, and another paper
// or orientation scales the sheet down until it fits whole.
class SheetPrintPreview : public QObject {
    Q_OBJECT
  public:
    // `sheets` is asked for the sheet and its answer key each time the pages are drawn.
    using SheetSource = std::function<std::pair<std::optional<Sheet>, std::optional<Sheet>>()>;

    SheetPrintPreview(QWidget* parent, SheetSource sheets);
    ~SheetPrintPreview() override;

    // Opens the preview, or brings it to the front when it is open.
    void open();
    // Redraws the preview after the sheet changed.
    void refresh();
    QPrintPreviewDialog* dialog() const { return dialog_; }
    bool answersWanted() const;

    // The pages that print now.
    std::vector<Sheet> pages() const;
    // Paints the pages on a printer (or a PDF printer).
    void print(QPrinter* printer) const;
    QPrinter& printer() { return printer_; }

  private:
    std::optional<SheetMargins> currentMargins() const;
    void applyMargins(const SheetMargins& margins);
    // A4 portrait at the current sheet's margins.
    void resetPaper();

    QWidget* parent_;
    SheetSource sheets_;
    QPrinter printer_;
    QPointer<QPrintPreviewDialog> dialog_;
    QPointer<QCheckBox> answers_;
    SheetMargins appliedMargins_;
};

// Opens the print preview of a filled sheet and its answer key, owned by `parent` (any
// window that shows a sheet can print it this way).
SheetPrintPreview* openSheetPrintPreview(QWidget* parent, Sheet sheet,
                                         std::optional<Sheet> answers);

}  // namespace sumbrook
