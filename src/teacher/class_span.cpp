#include "class_span.h"

#include "parent/report_span.h"

namespace sumbrook {

QString classSpanName(ClassSpan span) {
    switch (span) {
        case ClassSpan::Week:
            return QStringLiteral("本周");
        case ClassSpan::Month:
            return QStringLiteral("本月");
        case ClassSpan::Term:
            return QStringLiteral("本学期");
    }
    return {};
}

JournalSpan journalSpanOf(ClassSpan span, const QDateTime& now) {
    switch (span) {
        case ClassSpan::Week:
            return journalSpanOf(ReportSpan::Week, now);
        case ClassSpan::Month:
            return journalSpanOf(ReportSpan::Month, now);
        case ClassSpan::Term:
            break;
    }
    const QDate today = now.date();
    QDate start(today.year() - 1, 9, 1);
    for (const QDate d : {QDate(today.year(), 3, 1), QDate(today.year(), 9, 1)}) {
        if (d <= today) {
            start = d;
        }
    }
    return {start.startOfDay(), today.addDays(1).startOfDay()};
}

}  // namespace sumbrook
