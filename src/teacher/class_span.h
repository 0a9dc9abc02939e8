#pragma once

#include <QDateTime>
#include <QString>

#include "journal/journal_types.h"

namespace sumbrook {

// The spans the teacher looks at the class over: this week (from Monday), this month, and
// this term, since 1 September or 1 March, whichever came last.
enum class ClassSpan { Week, Month, Term };

// "本周", "本月", "本学期".
QString classSpanName(ClassSpan span);
// [from, to) in local time, `to` the start of the day after `now`.
JournalSpan journalSpanOf(ClassSpan span, const QDateTime& now);

}  // namespace sumbrook
