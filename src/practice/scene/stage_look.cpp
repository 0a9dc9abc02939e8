#include "stage_look.h"

namespace sumbrook {

bool operator==(const TwoNumberQuestion& a, const TwoNumberQuestion& b) {
    return a.xian1 == b.xian1 && a.xian_fu == b.xian_fu && a.xian2 == b.xian2 &&
           a.xian4 == b.xian4 && a.blank == b.blank && a.deshu == b.deshu;
}

bool operator==(const ExpressionQuestion& a, const ExpressionQuestion& b) {
    return a.xian1 == b.xian1 && a.deshu == b.deshu;
}

bool operator==(const MoneyQuestion& a, const MoneyQuestion& b) {
    return a.picture == b.picture && a.deshu == b.deshu && a.danw == b.danw && a.deshu2 == b.deshu2;
}

bool operator==(const ClockQuestion& a, const ClockQuestion& b) {
    return a.deshu == b.deshu && a.deshu0 == b.deshu0 && a.deshu2 == b.deshu2 &&
           a.hourAngle == b.hourAngle && a.minuteAngle == b.minuteAngle;
}

}  // namespace sumbrook
