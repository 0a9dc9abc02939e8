#pragma once

#include <QString>
#include <QVector>

#include "journal_types.h"

namespace sumbrook {

// One child's answers as the CSV file the parent exports: a byte-order mark for
// spreadsheet programs, a header row, one row per answer in the order given. Only the
// text; where it is written is the caller's.
class AnswersCsv {
  public:
    static QString text(const QString& childName, const QVector<AnsweredQuestion>& answers);
};

}  // namespace sumbrook
