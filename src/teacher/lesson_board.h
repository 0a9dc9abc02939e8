#pragma once

#include <QDateTime>
#include <QVector>
#include <QWidget>

#include "classroom/class_queries.h"

class QGridLayout;
class QLabel;
class QScrollArea;

namespace sumbrook {

class PupilTile;

// The "此刻" page's grid: a tile for each pupil in the class list's order, as large as
// lets the whole class show at once (scrolled only when it cannot), and a line counting who
// practises and who needs help. It shows the rows it is given; reading them is LessonPoller's.
class LessonBoard : public QWidget {
    Q_OBJECT
  public:
    explicit LessonBoard(QWidget* parent = nullptr);

    void setPupils(const QVector<PupilNow>& pupils, const QDateTime& now);

    int tileCount() const { return static_cast<int>(tiles_.size()); }
    PupilTile* tile(int index) const { return tiles_.value(index); }
    // The tile of the pupil with that number; null when none.
    PupilTile* tileOf(const QString& number) const;
    int columns() const { return columns_; }
    QString summaryText() const;

  protected:
    // The tiles are arranged anew when the room for them changes.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void arrange();

    QVector<PupilTile*> tiles_;
    int columns_ = 0;
    QLabel* summary_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* grid_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
};

}  // namespace sumbrook
