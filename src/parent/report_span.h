#pragma once

#include <QDateTime>
#include <QString>

#include "journal/journal_types.h"

namespace sumbrook {

// The spans the parent chooses between: this week (from Monday), this month, everything.
enum class ReportSpan { Week, Month, All };

// "本周", "本月", "全部".
QString reportSpanName(ReportSpan span);
// The span as the journal takes it, [from, to) in local time, `to` the start of the day
// after `now`; All has no `from`.
JournalSpan journalSpanOf(ReportSpan span, const QDateTime& now);

}  // namespace sumbrook
