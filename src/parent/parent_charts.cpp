#include "parent_charts.h"

#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

#include "parent_report.h"
#include "window_font.h"

namespace sumbrook {

namespace {

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;

// A day stands at its noon, so that its point sits in the middle of its tick.
qreal dayX(const QDate& day) {
    return static_cast<qreal>(day.startOfDay().toMSecsSinceEpoch() + kDayMs / 2);
}

void styleChart(QChart* chart, const QString& title) {
    chart->setTitle(title);
    chart->setTitleFont(ParentCharts::chartFont(11));
    chart->legend()->setFont(ParentCharts::chartFont(9));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(4);
    chart->setAnimationOptions(QChart::NoAnimation);
}

QDateTimeAxis* dayAxis(const QDate& first, const QDate& last) {
    auto* axis = new QDateTimeAxis;
    axis->setFormat(QStringLiteral("M/d"));
    axis->setLabelsFont(ParentCharts::chartFont(8));
    const qint64 days = std::max<qint64>(1, first.daysTo(last) + 1);
    axis->setTickCount(static_cast<int>(std::clamp<qint64>(days + 1, 2, 8)));
    axis->setRange(first.startOfDay(), last.addDays(1).startOfDay());
    return axis;
}

QValueAxis* valueAxis(const QString& title, qreal max, const QString& format) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(ParentCharts::chartFont(9));
    axis->setLabelsFont(ParentCharts::chartFont(8));
    axis->setRange(0, max);
    axis->setLabelFormat(format);
    axis->applyNiceNumbers();
    return axis;
}

}  // namespace

QFont ParentCharts::chartFont(int pointSize) {
    return windowFont(pointSize);
}

QChart* ParentCharts::dailyChart(const QVector<DayTally>& days, const JournalSpan& span) {
    auto* chart = new QChart;
    styleChart(chart, QStringLiteral("每天做题数和正确率"));
    auto* asked = new QLineSeries;
    asked->setName(askedSeriesName());
    asked->setPointsVisible(true);
    asked->setPen(QPen(QColor(0x2f, 0x6f, 0xd6), 2));
    auto* accuracy = new QLineSeries;
    accuracy->setName(accuracySeriesName());
    accuracy->setPointsVisible(true);
    QPen dashed(QColor(0x2e, 0xa0, 0x43), 2, Qt::DashLine);
    accuracy->setPen(dashed);

    QDate first = span.from.isValid() ? span.from.date() : QDate();
    QDate last = span.to.isValid() ? span.to.date().addDays(-1) : QDate();
    if (!days.isEmpty()) {
        if (!first.isValid() || days.front().day < first) {
            first = days.front().day;
        }
        if (!last.isValid() || days.back().day > last) {
            last = days.back().day;
        }
    }
    if (!first.isValid()) {
        first = last = QDate::currentDate();
    }
    int maxAsked = 10;
    QList<QPointF> askedPoints;
    QList<QPointF> accuracyPoints;
    auto it = days.begin();
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        while (it != days.end() && it->day < d) {
            ++it;
        }
        if (it != days.end() && it->day == d && it->asked > 0) {
            askedPoints.append(QPointF(dayX(d), it->asked));
            accuracyPoints.append(QPointF(dayX(d), 100.0 * it->right / it->asked));
            maxAsked = std::max(maxAsked, it->asked);
        } else {
            askedPoints.append(QPointF(dayX(d), 0));
        }
    }
    asked->replace(askedPoints);
    accuracy->replace(accuracyPoints);
    chart->addSeries(asked);
    chart->addSeries(accuracy);
    QDateTimeAxis* x = dayAxis(first, last);
    QValueAxis* left = valueAxis(QStringLiteral("题数"), maxAsked * 1.1, QStringLiteral("%d"));
    QValueAxis* right = valueAxis(QStringLiteral("正确率（%）"), 100, QStringLiteral("%d"));
    right->setRange(0, 100);
    right->setTickCount(6);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(left, Qt::AlignLeft);
    chart->addAxis(right, Qt::AlignRight);
    asked->attachAxis(x);
    asked->attachAxis(left);
    accuracy->attachAxis(x);
    accuracy->attachAxis(right);
    return chart;
}

QChart* ParentCharts::timeChart(const QVector<AnswerTimePoint>& times, const QString& title) {
    auto* chart = new QChart;
    styleChart(chart, title);
    auto* right = new QScatterSeries;
    right->setName(rightTimesName());
    right->setMarkerSize(6);
    right->setColor(QColor(0x2e, 0xa0, 0x43, 150));
    right->setBorderColor(Qt::transparent);
    auto* wrong = new QScatterSeries;
    wrong->setName(wrongTimesName());
    wrong->setMarkerSize(6);
    wrong->setColor(QColor(0xe0, 0x6c, 0x1f, 170));
    wrong->setBorderColor(Qt::transparent);
    auto* median = new QLineSeries;
    median->setName(medianTimesName());
    median->setPointsVisible(true);
    median->setPen(QPen(QColor(0x2f, 0x6f, 0xd6), 2));

    // The points go in as whole lists: appended one by one, each would redraw the series.
    qreal maxSeconds = 10;
    QDate first;
    QDate last;
    QList<QPointF> rightPoints;
    QList<QPointF> wrongPoints;
    for (const AnswerTimePoint& p : times) {
        const qreal seconds = static_cast<qreal>(p.ms) / 1000.0;
        (p.right ? rightPoints : wrongPoints)
            .append(QPointF(static_cast<qreal>(p.at.toMSecsSinceEpoch()), seconds));
        maxSeconds = std::max(maxSeconds, seconds);
        const QDate d = p.at.date();
        first = !first.isValid() || d < first ? d : first;
        last = !last.isValid() || d > last ? d : last;
    }
    right->replace(rightPoints);
    wrong->replace(wrongPoints);
    QList<QPointF> medianPoints;
    for (const ParentReport::DailyMedian& m : ParentReport::dailyMedians(times)) {
        medianPoints.append(QPointF(static_cast<qreal>(m.middle.toMSecsSinceEpoch()),
                                    static_cast<qreal>(m.ms) / 1000.0));
    }
    median->replace(medianPoints);
    if (!first.isValid()) {
        first = last = QDate::currentDate();
    }
    chart->addSeries(right);
    chart->addSeries(wrong);
    chart->addSeries(median);
    QDateTimeAxis* x = dayAxis(first, last);
    // A slow outlier should not flatten everyone else: the axis stops at the 98th
    // percentile of the times, at least ten seconds.
    std::vector<std::int64_t> sorted;
    for (const AnswerTimePoint& p : times) {
        sorted.push_back(p.ms);
    }
    if (!sorted.empty()) {
        const auto at = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() * 98 / 100);
        std::nth_element(sorted.begin(), at, sorted.end());
        maxSeconds = std::max<qreal>(10, static_cast<qreal>(*at) / 1000.0 * 1.15);
    }
    QValueAxis* y = valueAxis(QStringLiteral("每题用时（秒）"), maxSeconds, QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    return chart;
}

}  // namespace sumbrook
