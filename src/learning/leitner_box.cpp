#include "leitner_box.h"

#include <array>

namespace sumbrook {

namespace {

// Days until a fact in box N is asked again.
constexpr std::array<int, LeitnerBox::kTop + 1> kWaitDays{0, 1, 3, 7};

}  // namespace

void LeitnerBox::answered(const QDate& day, bool right, bool fluent) {
    if (!right) {
        box = 1;
        retired = false;
        due = day.addDays(kWaitDays[1]);
        return;
    }
    if (box == 0 || !(day >= due)) {
        return;
    }
    if (box == kTop && fluent) {
        box = 0;
        retired = true;
        due = QDate();
        return;
    }
    if (box < kTop) {
        ++box;
    }
    due = day.addDays(kWaitDays[static_cast<std::size_t>(box)]);
}

}  // namespace sumbrook
