#pragma once

#include <QDate>

namespace sumbrook {

// A fact's Leitner box: 0 when it never was missed or has retired, else 1..3. Moves by one
// answer at a time on the answer's recorded day; knows nothing of thresholds or of the
// fact itself.
struct LeitnerBox {
    static constexpr int kTop = 3;

    int box = 0;
    bool retired = false;  // answered fluently in box 3 after being missed
    QDate due;             // invalid when not in a box

    // A miss puts the fact in box 1, due the next day, wherever it stood. A right answer
    // on or after the due day moves it up a box (box 2 due 3 days on, box 3 due 7 days
    // on); a fluent one in box 3 retires it, a right but slow one keeps it in box 3 for
    // another 7 days. A right answer before the due day (the same fact coming up again
    // the day it was missed) leaves box and due day as they are: one lucky repeat minutes
    // after a miss says little about tomorrow.
    void answered(const QDate& day, bool right, bool fluent);
    bool isDue(const QDate& today) const { return box > 0 && due.isValid() && due <= today; }
};

}  // namespace sumbrook
