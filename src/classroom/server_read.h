#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include "journal/journal_types.h"

namespace sumbrook {

// What the teacher's reads of the class's server share: binding a statement's values, the
// span as a condition on at_ms, and a refused read turned into one line for the window,
// said once on "sumbrook.class" while it lasts. It decides nothing about what is read.
class ServerRead {
  public:
    // " AND <column> >= ? AND <column> < ?" for the ends the span has, values appended.
    static QString spanClause(const JournalSpan& span, QVariantList& values,
                              const QString& column = QStringLiteral("a.at_ms"));
    // Prepares and runs `sql` forward only with `values` bound in order.
    static bool run(QSqlQuery& query, const QString& sql, const QVariantList& values = {});
    // The one line for the window; said on the log the first time it comes.
    static QString failed(const QSqlError& why);
    // The one line for a change of the list the server refused (a number taken, say);
    // the teacher sees it, so it is not logged.
    static QString refused(const QSqlError& why);
};

}  // namespace sumbrook
