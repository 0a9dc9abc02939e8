#include "clock_generator.h"

namespace sumbrook {

ClockQuestion ClockGenerator::forTime(int hour, int minute) {
    ClockQuestion question;
    question.deshu = hour;
    question.deshu0 = minute;
    question.deshu2 = QString::number(hour) + QStringLiteral("点") + QString::number(minute) +
                      QStringLiteral("分");
    question.hourAngle = hour * 30 + 30.0 * minute / 60;
    question.minuteAngle = minute * 6;
    return question;
}

ClockQuestion ClockGenerator::generate(UniformSource& source) {
    const int hour = static_cast<int>(source.next() * 12 + 1);
    const int minute = static_cast<int>(source.next() * 4) * 15;
    return forTime(hour, minute);
}

}  // namespace sumbrook
