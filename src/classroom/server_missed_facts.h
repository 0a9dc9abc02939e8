#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <optional>

#include "class_queries.h"

namespace sumbrook {

// The facts missed in some of the class's answers, grouped as the journal groups them (by
// fact key, or an old row without a fact by its exercise and texts), each with the fields
// and texts of its latest miss, its wrong entries most often typed first, and in the
// journal's order (MissedFactOrder). For one pupil or the whole class alike; which answers
// count is the caller's condition.
class ServerMissedFacts {
  public:
    // `where` is a condition on answers `a`, with its values; nothing when refused
    // (`error` set).
    static std::optional<QVector<ClassMissedFact>> read(const QSqlDatabase& db,
                                                        const QString& where,
                                                        const QVariantList& values, int limit,
                                                        QString& error);
};

}  // namespace sumbrook
