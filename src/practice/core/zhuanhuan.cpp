#include "zhuanhuan.h"

namespace sumbrook {

namespace {

QString twoDigits(std::int64_t n) {
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

}  // namespace

QString zhuanhuan(std::int64_t ms) {
    // A negative time can only come from a damaged record; show it as zero.
    if (ms < 0) {
        ms = 0;
    }
    const std::int64_t s = ms / 1000;
    return twoDigits(s / 60) + QStringLiteral(":") + twoDigits(s % 60) + QStringLiteral(".") +
           twoDigits((ms % 1000) / 10);
}

}  // namespace sumbrook
