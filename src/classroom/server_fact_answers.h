#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <map>
#include <optional>

#include "journal/journal_types.h"

namespace sumbrook {

// The answers with a fact of one or many pupils, as FactLearning reads them: per pupil
// ordered by fact key (bytewise, as the journal's SQLite orders it), then time, each
// fact's fields and expected answer taken once from its first answer, as the journal does.
// It judges nothing.
class ServerFactAnswers {
  public:
    // By pupil id; `where` is a condition on answers `a`, with its values. Nothing when
    // refused (`error` set).
    static std::optional<std::map<int, QVector<FactAnswer>>> read(const QSqlDatabase& db,
                                                                  const QString& where,
                                                                  const QVariantList& values,
                                                                  QString& error);
};

}  // namespace sumbrook
