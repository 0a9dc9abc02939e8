#pragma once

#include <QDate>
#include <QWidget>
#include <optional>

#include "learning/fact_map.h"

namespace sumbrook {

// The fact map as the parent sees it: the addition facts 0 + 0 to 10 + 10 and the
// subtraction facts within 20 as two grids of cells coloured by how well the child knows
// each, with a legend; hovering a cell tells its history. The colours come from a palette
// that reads apart for colour-blind eyes, and cells still being learnt are hatched too.
// Shows what it is given; it reads nothing itself.
class FactMapView : public QWidget {
    Q_OBJECT
  public:
    explicit FactMapView(QWidget* parent = nullptr);

    void setMap(const FactMap& map);
    // The text hovering the cell at `pos` shows; empty outside the cells.
    QString cellText(const QPoint& pos) const;
    // Where the cell stands (the centre), for tests and tours.
    QPoint additionCentre(int a, int b) const;
    QPoint subtractionCentre(int a, int b) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static QColor colour(Fluency state);
    static QString stateName(Fluency state);  // "还没做过", "正在学", "会但偏慢", "熟练"

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    struct Grid {
        QPoint origin;  // the top-left of cell (0, 0)
        int rows = 0;
        bool triangle = false;  // subtraction: columns 0..row only
    };
    QRect cellRect(const Grid& grid, int row, int column) const;
    const FactCell* cellAt(const QPoint& pos) const;
    void paintGrid(QPainter& painter, const Grid& grid, const QString& title, QChar sign) const;
    void paintLegend(QPainter& painter, QPoint at) const;

    std::optional<FactMap> map_;
    Grid addition_;
    Grid subtraction_;
};

}  // namespace sumbrook
