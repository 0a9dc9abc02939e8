#pragma once

#include <QString>

#include "journal/journal_types.h"

namespace sumbrook {

// How the parent's list writes a missed fact, from its fields: a money question by the
// value of its picture, a clock question by the time on its face, and the child's wrong
// entries in the answer's own words (a unit after the money, "□" for a clock field left
// empty). A fact the journal could not read from an old row is shown in its recorded text.
// It reads nothing and shows nothing.
struct ReadableFact {
    static QString question(const MissedFact& fact);
    static QString answer(const MissedFact& fact);
    // One entry the child typed, as the answer would be written.
    static QString typed(const MissedFact& fact, const QString& entry);
    // All the wrong entries, "14、16".
    static QString wrongAnswers(const MissedFact& fact);
};

}  // namespace sumbrook
