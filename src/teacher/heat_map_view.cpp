#include "heat_map_view.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "parent/window_font.h"
#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

namespace {

constexpr int kCellWidth = 26;
constexpr int kCellHeight = 22;
constexpr int kGap = 2;
constexpr int kMargin = 8;
constexpr int kHeading = 24;
constexpr int kLegend = 34;

QString percent(int right, int tried) {
    return QString::number(qRound(100.0 * right / tried));
}

QString exerciseName(int exercise) {
    return QStringLiteral("%1 %2").arg(exercise).arg(ExerciseCatalogue::title(exercise));
}

}  // namespace

HeatMapView::HeatMapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("全班热图"));
    setMouseTracking(true);
    setFont(windowFont(10));
    setMap({});
}

void HeatMapView::setMap(const ClassHeatMap& map) {
    map_ = map;
    const QFontMetrics metrics(windowFont(11));
    nameWidth_ = metrics.horizontalAdvance(QStringLiteral("学生姓名"));
    for (const ListedPupil& p : map_.pupils) {
        nameWidth_ = std::max(nameWidth_, metrics.horizontalAdvance(p.pupil.name));
    }
    nameWidth_ += 12;
    resize(sizeHint());
    updateGeometry();
    update();
}

HeatMapView::Band HeatMapView::band(const HeatCell& cell) {
    if (cell.tried <= 0) {
        return Band::None;
    }
    const double share = static_cast<double>(cell.right) / cell.tried;
    return share < 0.6   ? Band::Below60
           : share < 0.8 ? Band::Below80
           : share < 0.9 ? Band::Below90
                         : Band::Good;
}

QColor HeatMapView::colour(Band band) {
    // The fact map's palette, which reads apart for colour-blind eyes, with a lighter blue
    // between its yellow and its blue.
    switch (band) {
        case Band::Below60:
            return {0xD5, 0x5E, 0x00};
        case Band::Below80:
            return {0xF0, 0xE4, 0x42};
        case Band::Below90:
            return {0x56, 0xB4, 0xE9};
        case Band::Good:
            return {0x00, 0x72, 0xB2};
        case Band::None:
            break;
    }
    return {0xF6, 0xF7, 0xF9};
}

QString HeatMapView::bandName(Band band) {
    switch (band) {
        case Band::Below60:
            return QStringLiteral("不到60%");
        case Band::Below80:
            return QStringLiteral("60%–79%");
        case Band::Below90:
            return QStringLiteral("80%–89%");
        case Band::Good:
            return QStringLiteral("90%以上");
        case Band::None:
            break;
    }
    return QStringLiteral("没做过");
}

QRect HeatMapView::cellRect(int row, int column) const {
    return {kMargin + nameWidth_ + column * (kCellWidth + kGap),
            kMargin + kHeading + row * (kCellHeight + kGap), kCellWidth, kCellHeight};
}

QPoint HeatMapView::cellCentre(int row, int exercise) const {
    return cellRect(row, exercise - 1).center();
}

QSize HeatMapView::sizeHint() const {
    const int rows = static_cast<int>(map_.pupils.size());
    const QRect last = cellRect(rows, ClassHeatMap::kExercises);
    return {last.left() + kMargin, last.top() + kLegend};
}

QString HeatMapView::cellText(const QPoint& pos) const {
    const QRect first = cellRect(0, 0);
    if (pos.x() < first.left()) {
        return {};
    }
    const int column = (pos.x() - first.left()) / (kCellWidth + kGap);
    if (column >= ClassHeatMap::kExercises) {
        return {};
    }
    if (pos.y() < first.top()) {
        return pos.y() >= kMargin ? exerciseName(column + 1) : QString();
    }
    const int row = (pos.y() - first.top()) / (kCellHeight + kGap);
    if (row >= static_cast<int>(map_.cells.size()) || !cellRect(row, column).contains(pos)) {
        return {};
    }
    const HeatCell& cell = map_.cells[row][column];
    QString text =
        QStringLiteral("%1 · %2\n").arg(map_.pupils[row].pupil.name, exerciseName(column + 1));
    if (cell.tried <= 0) {
        return text + QStringLiteral("还没有做过");
    }
    return text + QStringLiteral("做了 %1 题，正确率 %2%，每题用时中位 %3 秒")
                      .arg(cell.tried)
                      .arg(percent(cell.right, cell.tried))
                      .arg(QString::number(static_cast<double>(cell.medianMs) / 1000.0, 'f', 1));
}

bool HeatMapView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = cellText(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            // In the window's own face: the system's tooltip font may have no Chinese.
            QToolTip::showText(
                help->globalPos(),
                QStringLiteral("<p style=\"white-space:pre; font-family:'%1'\">%2</p>")
                    .arg(font().family(), text.toHtmlEscaped()),
                this);
        }
        return true;
    }
    return QWidget::event(event);
}

void HeatMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(windowFont(9));
    painter.setPen(QColor(0x5a, 0x64, 0x70));
    for (int column = 0; column < ClassHeatMap::kExercises; ++column) {
        const QRect r = cellRect(0, column);
        painter.drawText(QRect(r.left(), kMargin, r.width(), kHeading - 4), Qt::AlignCenter,
                         QString::number(column + 1));
    }
    const QFont names = windowFont(11);
    const QFont numbers = windowFont(8);
    for (int row = 0; row < static_cast<int>(map_.cells.size()); ++row) {
        const QRect first = cellRect(row, 0);
        painter.setFont(names);
        painter.setPen(QColor(0x2b, 0x3a, 0x4a));
        painter.drawText(QRect(kMargin, first.top(), nameWidth_ - 8, first.height()),
                         Qt::AlignRight | Qt::AlignVCenter, map_.pupils[row].pupil.name);
        painter.setFont(numbers);
        for (int column = 0; column < ClassHeatMap::kExercises; ++column) {
            const HeatCell& cell = map_.cells[row][column];
            const Band b = band(cell);
            const QRect r = cellRect(row, column);
            painter.setPen(QPen(QColor(0xd5, 0xda, 0xe0), 1));
            painter.setBrush(colour(b));
            painter.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            if (b != Band::None) {
                painter.setPen(b == Band::Good || b == Band::Below60 ? Qt::white
                                                                     : QColor(0x1f, 0x2a, 0x36));
                painter.drawText(r, Qt::AlignCenter, percent(cell.right, cell.tried));
            }
        }
    }
    paintLegend(painter, QPoint(kMargin + nameWidth_,
                                cellRect(static_cast<int>(map_.cells.size()), 0).top() + 6));
}

void HeatMapView::paintLegend(QPainter& painter, QPoint at) const {
    painter.setFont(windowFont(9));
    for (const Band b : {Band::None, Band::Below60, Band::Below80, Band::Below90, Band::Good}) {
        const QRect swatch(at, QSize(14, 14));
        painter.setPen(QPen(QColor(0xc9, 0xcf, 0xd6), 1));
        painter.setBrush(colour(b));
        painter.drawRoundedRect(swatch, 3, 3);
        painter.setPen(QColor(0x2b, 0x3a, 0x4a));
        const QString name = bandName(b);
        painter.drawText(QRect(swatch.right() + 6, swatch.top() - 3, 100, swatch.height() + 6),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        at.rx() += swatch.width() + 12 + painter.fontMetrics().horizontalAdvance(name) + 10;
    }
    painter.drawText(QRect(at.x() + 10, at.y() - 3, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("格子里是正确率（%）"));
}

}  // namespace sumbrook
