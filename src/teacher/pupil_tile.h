#pragma once

#include <QDateTime>
#include <QFrame>

#include "classroom/class_queries.h"

class QLabel;

namespace sumbrook {

// One pupil on the "此刻" page: name and number, whether they practise, the exercise,
// their answers and accuracy in this lesson, and a warm mark with a short word when they
// may need the teacher. Shows what it is given; the board decides when.
class PupilTile : public QFrame {
    Q_OBJECT
  public:
    // The smallest a tile reads well at, from the back of a classroom too.
    static constexpr QSize kMinimumSize{205, 78};

    explicit PupilTile(QWidget* parent = nullptr);

    // `now` words how long a quiet pupil has been quiet.
    void setNow(const PupilNow& pupil, const QDateTime& now);

    const PupilNow& pupil() const { return pupil_; }
    // The lines as shown, top to bottom: name, number, state, exercise, answers, mark.
    QString nameText() const;
    QString stateText() const;
    QString exerciseText() const;
    QString answersText() const;
    QString markText() const;  // empty when no mark
    bool marked() const { return marked_; }

    // The short word of the mark, empty when the pupil needs none.
    static QString markWord(const PupilNow& pupil, const QDateTime& now);

  private:
    PupilNow pupil_;
    bool marked_ = false;
    bool styled_ = false;
    QLabel* name_ = nullptr;
    QLabel* number_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* exercise_ = nullptr;
    QLabel* answers_ = nullptr;
    QLabel* mark_ = nullptr;
};

}  // namespace sumbrook
