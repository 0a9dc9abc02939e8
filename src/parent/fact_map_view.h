#pragma once

#include <QDate>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "learning/fact_map.h"

namespace sumbrook {

// The fact map as the parent sees it: the addition facts 0 + 0 to 10 + 10 and the
// subtraction facts within 20 as two grids of cells coloured by how well the child knows
// each, with a legend; hovering a cell tells its history. The colours come from a palette
// that reads apart for colour-blind eyes, and cells still being learnt are hatched too.
// For a class it shows counts instead: how many pupils are fluent in each cell.
// Shows what it is given; it reads nothing itself.
class FactMapView : public QWidget {
    Q_OBJECT
  public:
    // How many of a class are fluent in a cell, and how many met it at all.
    struct Count {
        int fluent = 0;
        int met = 0;
    };
    using Counter = std::function<Count(QChar sign, int a, int b)>;

    explicit FactMapView(QWidget* parent = nullptr);

    void setMap(const FactMap& map);
    // The class's map: each cell shaded by the share of the `pupils` fluent in it, with
    // that number in it; `count` is asked once per cell, the sign '+' or '-'.
    void setCounts(int pupils, const Counter& count);
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
    struct Place {
        const Grid* grid = nullptr;
        int row = 0;
        int column = 0;
    };
    QRect cellRect(const Grid& grid, int row, int column) const;
    std::optional<Place> placeAt(const QPoint& pos) const;
    const Count& countAt(const Grid& grid, int row, int column) const;
    QColor countColour(const Count& count) const;
    void paintCountLegend(QPainter& painter, QPoint at) const;
    void paintGrid(QPainter& painter, const Grid& grid, const QString& title, QChar sign) const;
    void paintLegend(QPainter& painter, QPoint at) const;

    std::optional<FactMap> map_;
    int pupils_ = 0;             // with counts_, the class's size
    std::vector<Count> counts_;  // addition cells row by row, then subtraction's
    Grid addition_;
    Grid subtraction_;
};

}  // namespace sumbrook
