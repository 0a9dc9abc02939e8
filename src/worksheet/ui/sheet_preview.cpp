#include "sheet_preview.h"

#include <QPainter>
#include <QScrollBar>

#include "sheet_painter.h"

namespace sumbrook {

namespace {

constexpr double kSurround = 30;  // paper shown around the grid, 3 mm

// Paints the part of the page that holds the grid, scaled to its own width.
class PreviewCanvas : public QWidget {
  public:
    explicit PreviewCanvas(const std::optional<Sheet>& sheet, QWidget* parent)
        : QWidget(parent), sheet_(sheet) {}

    QRectF visiblePart() const {
        const QRectF grid = SheetPainter::gridRect(*sheet_);
        return grid.adjusted(-kSurround, -kSurround, kSurround, kSurround);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!sheet_) {
            return;
        }
        const QRectF part = visiblePart();
        const double scale = width() / part.width();
        painter.scale(scale, scale);
        painter.translate(-part.topLeft());
        SheetPainter::paintPage(painter, *sheet_);
    }

  private:
    const std::optional<Sheet>& sheet_;
};

}  // namespace

SheetPreview::SheetPreview(QWidget* parent) : QScrollArea(parent) {
    canvas_ = new PreviewCanvas(sheet_, this);
    setWidget(canvas_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so that showing a sheet never changes the width it is scaled to.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Base);
}

void SheetPreview::showSheet(const Sheet& sheet) {
    sheet_ = sheet;
    fitToWidth();
    verticalScrollBar()->setValue(0);
    canvas_->update();
}

void SheetPreview::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    fitToWidth();
}

void SheetPreview::fitToWidth() {
    if (!sheet_) {
        canvas_->resize(viewport()->width(), viewport()->height());
        return;
    }
    const QRectF part = static_cast<PreviewCanvas*>(canvas_)->visiblePart();
    const int w = std::max(1, viewport()->width());
    canvas_->resize(w, static_cast<int>(part.height() * w / part.width()));
}

}  // namespace sumbrook
