#pragma once

#include <QColor>
#include <QWidget>

#include "classroom/class_queries.h"

namespace sumbrook {

// The class's heat map: a row of 37 cells for each pupil, each cell coloured by the
// pupil's accuracy in that exercise over the span and showing it as a percentage; an
// exercise the pupil has not tried stays a plain cell. Hovering tells the count, the
// accuracy and the median time. Shows what it is given; it reads nothing itself.
class HeatMapView : public QWidget {
    Q_OBJECT
  public:
    // The accuracy bands, worst first; None for a cell never tried.
    enum class Band { None, Below60, Below80, Below90, Good };

    explicit HeatMapView(QWidget* parent = nullptr);

    void setMap(const ClassHeatMap& map);
    const ClassHeatMap& map() const { return map_; }

    // The text hovering at `pos` shows; empty outside the cells and headings.
    QString cellText(const QPoint& pos) const;
    // The centre of a pupil's (by row) cell in an exercise (1..37).
    QPoint cellCentre(int row, int exercise) const;

    static Band band(const HeatCell& cell);
    static QColor colour(Band band);
    static QString bandName(Band band);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRect cellRect(int row, int column) const;
    void paintLegend(QPainter& painter, QPoint at) const;

    ClassHeatMap map_;
    int nameWidth_ = 0;
};

}  // namespace sumbrook
