#pragma once

#include <QDateTime>
#include <QWidget>
#include <functional>

#include "class_span.h"
#include "classroom/class_queries.h"

class QButtonGroup;
class QLabel;
class QTableWidget;

namespace sumbrook {

class FactMapView;
class HeatMapView;

// The "全班" page: over the chosen span, the 37 exercises × the pupils as a heat map and
// the facts the class misses most; and how many pupils are fluent in each addition and
// subtraction fact. It reads the server when shown or when the span changes, not on a
// timer; the lesson going on is the "此刻" page's.
class ClassPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMissedShown = 20;

    ClassPage(ClassQueries& queries, std::function<QDateTime()> now, QWidget* parent = nullptr);

    void setSpan(ClassSpan span);
    ClassSpan span() const { return span_; }
    // Reads the span's numbers again; false when the server did not answer (said).
    bool refresh();
    bool filled() const { return filled_; }

    HeatMapView* heatMap() const { return heatMap_; }
    QTableWidget* missedTable() const { return missed_; }
    FactMapView* fluencyMap() const { return fluency_; }

  signals:
    void told(const QString& text);

  private:
    bool failed();
    void fillMissed(const QVector<ClassMissedFact>& facts);

    ClassQueries& queries_;
    std::function<QDateTime()> now_;
    ClassSpan span_ = ClassSpan::Week;
    bool filled_ = false;
    QButtonGroup* spans_ = nullptr;
    QLabel* summary_ = nullptr;
    HeatMapView* heatMap_ = nullptr;
    QTableWidget* missed_ = nullptr;
    FactMapView* fluency_ = nullptr;
};

}  // namespace sumbrook
