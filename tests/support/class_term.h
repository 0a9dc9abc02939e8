#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <optional>

namespace sumbrook::testing {

// A made-up term of a class on its server, for benchmarks, tests and screenshots: pupils
// 01..N with Chinese names, each answering on every school day (weekdays) of the term in a
// lesson of 45 minutes: additions and subtractions within 20 and some clocks and money,
// more surely and faster as the term goes on, each pupil at their own level, with runs and
// the completions of the good ones. Today's lesson began 25 minutes before `now` and is
// going on: most pupils answered in the last minute or two, pupil 03 is stuck (wrong in
// most of the last ten), 05 has been quiet for five minutes and 07 has not answered today.
// The same seed gives the same rows. It writes as the server's owner, bypassing the
// adding functions, and replaces whatever pupils and work the class had: never point it
// at a real class.
class ClassTerm {
  public:
    struct Shape {
        int pupils = 40;
        int days = 60;  // school days, today the last
        int answersPerDay = 80;
        std::uint32_t seed = 20260901;
    };
    struct Filled {
        int pupils = 0;
        std::int64_t answers = 0;
        std::int64_t runs = 0;
        QDateTime lessonStart;  // of today's lesson
    };

    static constexpr int kLessonAgoMinutes = 25;
    static constexpr const char* kStuck = "03";
    static constexpr const char* kQuiet = "05";
    static constexpr const char* kAbsent = "07";

    // Into the class's tables (made by ClassSchema when missing), in one transaction;
    // nothing, with the server's reason in `error`, when refused.
    static std::optional<Filled> fill(QSqlDatabase& owner, const Shape& shape, const QDateTime& now,
                                      QString& error);
};

}  // namespace sumbrook::testing
