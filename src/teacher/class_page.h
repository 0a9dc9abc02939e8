#pragma once

#include <QDateTime>
#include <QThread>
#include <QWidget>
#include <functional>
#include <memory>

#include "class_span.h"
#include "classroom/class_queries.h"
#include "lesson_poller.h"

class QButtonGroup;
class QLabel;
class QTableWidget;

namespace sumbrook {

class FactMapView;
class HeatMapView;

// The "全班" page: over the chosen span, the 37 exercises × the pupils as a heat map and
// the facts the class misses most; and how many pupils are fluent in each addition and
// subtraction fact. It reads the server when shown or when the span changes, not on a
// timer, on a thread of its own (the term's numbers can take the server seconds), one read
// at a time; the lesson going on is the "此刻" page's.
class ClassPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMissedShown = 20;

    // `source` makes the queries of each read, on the reading thread.
    ClassPage(LessonPoller::Source source, std::function<QDateTime()> now,
              QWidget* parent = nullptr);
    ~ClassPage() override;

    void setSpan(ClassSpan span);
    ClassSpan span() const { return span_; }
    // Reads the span's numbers again; a read asked for during one follows it.
    void refresh();
    bool reading() const { return thread_ != nullptr; }
    // Shows what the server gave for the span chosen; a failure is told (told()).
    bool filled() const { return filled_; }

    HeatMapView* heatMap() const { return heatMap_; }
    QTableWidget* missedTable() const { return missed_; }
    FactMapView* fluencyMap() const { return fluency_; }

  signals:
    void told(const QString& text);

  private:
    struct Read;
    void show(const Read& read);
    // The heat map as soon as it is read, before the slower facts; nothing when the teacher
    // has asked for another span meanwhile.
    void showHeatMap(const Read& read);
    void fillMissed(const QVector<ClassMissedFact>& facts);

    LessonPoller::Source source_;
    std::unique_ptr<QThread> thread_;
    bool again_ = false;
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
