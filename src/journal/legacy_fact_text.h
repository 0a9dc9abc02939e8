#pragma once

#include <QString>
#include <optional>

#include "practice/core/practice_fact.h"

namespace sumbrook {

// Reads the fact back out of the text an answer was recorded with before the journal kept
// facts as fields: "7 + 8 = □", "□ − 8 = 7", "3 + 4 − 2 = □", "3点15分", "钱币图44：□元".
// The exercise tells the kinds apart, as its screen did. Only the schema step that gives
// older rows their fields reads it; nothing reads display text after that.
class LegacyFactText {
  public:
    // Nothing when the text is not of its exercise's kind or its numbers do not make the
    // expected answer.
    static std::optional<PracticeFact> read(int exercise, const QString& shown,
                                            const QString& expected);
};

}  // namespace sumbrook
