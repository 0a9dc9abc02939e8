#pragma once

#include <QVector>

#include "journal_types.h"

namespace sumbrook {

// The order in which missed facts are shown: most often and most recently at once. Shared
// by the family's journal and the class's server, so that both list a child's facts alike.
// It reads the counts and dates only; it never fetches anything.
class MissedFactOrder {
  public:
    // Sorts `facts` and keeps the first `limit`.
    static void sort(QVector<MissedFact>& facts, int limit);
};

}  // namespace sumbrook
