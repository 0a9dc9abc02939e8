#pragma once

#include <QScrollArea>
#include <optional>

#include "worksheet/core/sheet.h"

namespace sumbrook {

// The window's preview of the current sheet: the sheet's grid scaled to the preview's
// width, scrolled up and down. Drawn by the same painter as the printed page.
class SheetPreview : public QScrollArea {
    Q_OBJECT
  public:
    explicit SheetPreview(QWidget* parent = nullptr);

    void showSheet(const Sheet& sheet);
    const std::optional<Sheet>& sheet() const { return sheet_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitToWidth();

    std::optional<Sheet> sheet_;
    QWidget* canvas_;
};

}  // namespace sumbrook
