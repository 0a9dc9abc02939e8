#pragma once

#include <QSqlQuery>
#include <QString>
#include <optional>

#include "practice/core/practice_fact.h"

namespace sumbrook {

// How a PracticeFact stands in an answer's row: kind, numbers ("7,8,15"), signs, blank,
// hour, minute, picture, money, unit and the fact's key, in that order; the fields a kind
// does not use are NULL, and so is every field of a row without a fact.
class FactColumns {
  public:
    static constexpr int kCount = 10;
    // "kind, numbers, …, fact" for a statement's column list.
    static QString names();
    // Binds the ten values from position `first` on.
    static void bind(QSqlQuery& query, int first, const std::optional<PracticeFact>& fact);
    // The fact of the row the query stands on, its ten columns from `first` on; nothing
    // when the row has none.
    static std::optional<PracticeFact> read(const QSqlQuery& query, int first);
};

}  // namespace sumbrook
