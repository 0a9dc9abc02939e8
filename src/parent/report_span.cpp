#include "report_span.h"

namespace sumbrook {

QString reportSpanName(ReportSpan span) {
    switch (span) {
        case ReportSpan::Week:
            return QStringLiteral("本周");
        case ReportSpan::Month:
            return QStringLiteral("本月");
        case ReportSpan::All:
            return QStringLiteral("全部");
    }
    return {};
}

JournalSpan journalSpanOf(ReportSpan span, const QDateTime& now) {
    const QDate today = now.date();
    JournalSpan out;
    out.to = today.addDays(1).startOfDay();
    switch (span) {
        case ReportSpan::Week:
            out.from = today.addDays(1 - today.dayOfWeek()).startOfDay();
            break;
        case ReportSpan::Month:
            out.from = QDate(today.year(), today.month(), 1).startOfDay();
            break;
        case ReportSpan::All:
            break;
    }
    return out;
}

}  // namespace sumbrook
