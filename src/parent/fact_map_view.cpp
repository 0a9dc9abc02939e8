#include "fact_map_view.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "practice/core/practice_observer.h"
#include "window_font.h"

namespace sumbrook {

namespace {

// Small enough that both grids stand whole in the window at its first size.
constexpr int kCell = 20;
constexpr int kStep = kCell + 2;
constexpr int kMargin = 10;
constexpr int kTitle = 26;
constexpr int kGap = 56;
constexpr int kLegend = 34;

QString seconds(std::int64_t ms) {
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1);
}

// One question of the cell as the child met it, and what its answers say.
QString historyLine(const FactStanding& s) {
    const std::optional<Question> question = questionOf(s.fact);
    const QString shown = question ? shownQuestionText(*question) : s.fact.key();
    QString line = QStringLiteral("%1：做过 %2 次，错 %3 次，用时中位 %4 秒，%5")
                       .arg(shown)
                       .arg(s.asked)
                       .arg(s.missed)
                       .arg(seconds(s.medianMs), FactMapView::stateName(s.state));
    if (s.box.retired) {
        line += QStringLiteral("；已从复习盒毕业");
    } else if (s.box.box > 0) {
        line += QStringLiteral("；复习盒 %1，%2该复习")
                    .arg(s.box.box)
                    .arg(s.box.due.toString(QStringLiteral("M月d日")));
    }
    return line;
}

}  // namespace

FactMapView::FactMapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("口算掌握图"));
    setMouseTracking(true);
    addition_ = {QPoint(kMargin + kCell, kMargin + kTitle + kCell), FactMap::kAddendMax + 1, false};
    subtraction_ = {
        QPoint(addition_.origin.x() + addition_.rows * kStep + kGap + kCell, addition_.origin.y()),
        FactMap::kMinuendMax + 1, true};
}

void FactMapView::setMap(const FactMap& map) {
    map_ = map;
    counts_.clear();
    update();
}

void FactMapView::setCounts(int pupils, const Counter& count) {
    map_.reset();
    pupils_ = pupils;
    counts_.clear();
    for (int a = 0; a <= FactMap::kAddendMax; ++a) {
        for (int b = 0; b <= FactMap::kAddendMax; ++b) {
            counts_.push_back(count(u'+', a, b));
        }
    }
    for (int a = 0; a <= FactMap::kMinuendMax; ++a) {
        for (int b = 0; b <= FactMap::kMinuendMax; ++b) {
            counts_.push_back(b <= a ? count(u'-', a, b) : Count{});
        }
    }
    update();
}

const FactMapView::Count& FactMapView::countAt(const Grid& grid, int row, int column) const {
    const int additions = addition_.rows * addition_.rows;
    return counts_[(grid.triangle ? additions : 0) + row * grid.rows + column];
}

QColor FactMapView::countColour(const Count& count) const {
    if (count.met <= 0 || pupils_ <= 0) {
        return colour(Fluency::New);
    }
    // From the palette's palest blue to its fluent blue, by the share fluent.
    const double share = std::clamp(static_cast<double>(count.fluent) / pupils_, 0.0, 1.0);
    const QColor from(0xDD, 0xEB, 0xF5);
    const QColor to = colour(Fluency::Fluent);
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

QSize FactMapView::sizeHint() const {
    return {subtraction_.origin.x() + subtraction_.rows * kStep + kMargin,
            subtraction_.origin.y() + subtraction_.rows * kStep + kMargin};
}

QColor FactMapView::colour(Fluency state) {
    // From a palette made to read apart with every common colour blindness: vermillion,
    // yellow and blue differ in hue along the axis those eyes keep, and in lightness.
    switch (state) {
        case Fluency::Learning:
            return {0xD5, 0x5E, 0x00};
        case Fluency::Slow:
            return {0xF0, 0xE4, 0x42};
        case Fluency::Fluent:
            return {0x00, 0x72, 0xB2};
        case Fluency::New:
            break;
    }
    return {0xEC, 0xEE, 0xF1};
}

QString FactMapView::stateName(Fluency state) {
    switch (state) {
        case Fluency::Learning:
            return QStringLiteral("正在学");
        case Fluency::Slow:
            return QStringLiteral("会但偏慢");
        case Fluency::Fluent:
            return QStringLiteral("熟练");
        case Fluency::New:
            break;
    }
    return QStringLiteral("还没做过");
}

QRect FactMapView::cellRect(const Grid& grid, int row, int column) const {
    return {grid.origin.x() + column * kStep, grid.origin.y() + row * kStep, kCell, kCell};
}

QPoint FactMapView::additionCentre(int a, int b) const {
    return cellRect(addition_, a, b).center();
}

QPoint FactMapView::subtractionCentre(int a, int b) const {
    return cellRect(subtraction_, a, b).center();
}

std::optional<FactMapView::Place> FactMapView::placeAt(const QPoint& pos) const {
    if (!map_ && counts_.empty()) {
        return std::nullopt;
    }
    for (const Grid* grid : {&addition_, &subtraction_}) {
        const QPoint inside = pos - grid->origin;
        if (inside.x() < 0 || inside.y() < 0) {
            continue;
        }
        const int row = inside.y() / kStep;
        const int column = inside.x() / kStep;
        if (row >= grid->rows || column >= grid->rows || (grid->triangle && column > row) ||
            !cellRect(*grid, row, column).contains(pos)) {
            continue;
        }
        return Place{grid, row, column};
    }
    return std::nullopt;
}

QString FactMapView::cellText(const QPoint& pos) const {
    const std::optional<Place> place = placeAt(pos);
    if (!place) {
        return {};
    }
    const bool plus = !place->grid->triangle;
    const int a = place->row;
    const int b = place->column;
    QString text = QStringLiteral("%1 %2 %3 = %4")
                       .arg(a)
                       .arg(plus ? QStringLiteral("+") : QStringLiteral("−"))
                       .arg(b)
                       .arg(plus ? a + b : a - b);
    if (!map_) {
        const Count& count = countAt(*place->grid, a, b);
        return text + QStringLiteral("\n熟练 %1 人，做过 %2 人，全班 %3 人")
                          .arg(count.fluent)
                          .arg(count.met)
                          .arg(pupils_);
    }
    const FactCell* cell = plus ? &map_->addition(a, b) : &map_->subtraction(a, b);
    if (cell->met.empty()) {
        return text + QStringLiteral("\n还没有做过");
    }
    for (const FactStanding& s : cell->met) {
        text += u'\n' + historyLine(s);
    }
    return text;
}

bool FactMapView::event(QEvent* event) {
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

void FactMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGrid(painter, addition_, QStringLiteral("加法：0 + 0 到 10 + 10"), u'+');
    paintGrid(painter, subtraction_, QStringLiteral("减法：20 以内"), QChar(0x2212));
    const QPoint legend(kMargin, addition_.origin.y() + addition_.rows * kStep + kLegend);
    if (counts_.empty()) {
        paintLegend(painter, legend);
    } else {
        paintCountLegend(painter, legend);
    }
}

void FactMapView::paintGrid(QPainter& painter, const Grid& grid, const QString& title,
                            QChar sign) const {
    painter.setPen(QColor(0x2b, 0x3a, 0x4a));
    painter.setFont(windowFont(11, true));
    painter.drawText(QRect(grid.origin.x() - kCell, kMargin, 400, kTitle - 6),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    // The first number down the side, the second along the top, the sign in the corner.
    painter.setFont(windowFont(8));
    painter.setPen(QColor(0x5a, 0x64, 0x70));
    painter.drawText(cellRect(grid, -1, -1), Qt::AlignCenter, QString(sign));
    for (int i = 0; i < grid.rows; ++i) {
        painter.drawText(cellRect(grid, i, -1), Qt::AlignCenter, QString::number(i));
        painter.drawText(cellRect(grid, -1, i), Qt::AlignCenter, QString::number(i));
    }
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.rows; ++column) {
            if (grid.triangle && column > row) {
                break;
            }
            const QRect r = cellRect(grid, row, column);
            if (!counts_.empty()) {
                const Count& count = countAt(grid, row, column);
                const QColor fill = countColour(count);
                painter.setPen(QPen(QColor(0xc9, 0xcf, 0xd6), 1));
                painter.setBrush(fill);
                painter.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
                if (count.met > 0) {
                    painter.setPen(fill.lightnessF() < 0.55 ? Qt::white : QColor(0x1f, 0x2a, 0x36));
                    painter.setFont(windowFont(7));
                    painter.drawText(r, Qt::AlignCenter, QString::number(count.fluent));
                }
                continue;
            }
            const Fluency state = !map_           ? Fluency::New
                                  : grid.triangle ? map_->subtraction(row, column).state
                                                  : map_->addition(row, column).state;
            painter.setPen(QPen(QColor(0xc9, 0xcf, 0xd6), 1));
            painter.setBrush(colour(state));
            painter.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            if (state == Fluency::Learning) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(QBrush(QColor(255, 255, 255, 150), Qt::BDiagPattern));
                painter.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 3, 3);
            }
        }
    }
}

void FactMapView::paintCountLegend(QPainter& painter, QPoint at) const {
    painter.setFont(windowFont(9));
    const QString before = QStringLiteral("熟练的人数：");
    painter.setPen(QColor(0x2b, 0x3a, 0x4a));
    painter.drawText(QRect(at.x(), at.y() - 3, 300, kCell), Qt::AlignLeft | Qt::AlignVCenter,
                     before);
    at.rx() += painter.fontMetrics().horizontalAdvance(before) + 6;
    const int steps[] = {0, 1, 2, 3, 4};
    for (const int step : steps) {
        const QRect swatch(at, QSize(kCell - 6, kCell - 6));
        const Count sample{pupils_ * step / 4, step == 0 ? 0 : 1};
        painter.setPen(QPen(QColor(0xc9, 0xcf, 0xd6), 1));
        painter.setBrush(step == 0 ? colour(Fluency::New) : countColour(sample));
        painter.drawRoundedRect(swatch, 3, 3);
        at.rx() += swatch.width() + 4;
    }
    painter.setPen(QColor(0x2b, 0x3a, 0x4a));
    painter.drawText(QRect(at.x() + 4, at.y() - 3, 300, kCell), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("由少到多"));
}

void FactMapView::paintLegend(QPainter& painter, QPoint at) const {
    painter.setFont(windowFont(9));
    for (const Fluency state : {Fluency::New, Fluency::Learning, Fluency::Slow, Fluency::Fluent}) {
        const QRect swatch(at, QSize(kCell - 6, kCell - 6));
        painter.setPen(QPen(QColor(0xc9, 0xcf, 0xd6), 1));
        painter.setBrush(colour(state));
        painter.drawRoundedRect(swatch, 3, 3);
        if (state == Fluency::Learning) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QBrush(QColor(255, 255, 255, 150), Qt::BDiagPattern));
            painter.drawRoundedRect(swatch.adjusted(1, 1, -1, -1), 3, 3);
        }
        painter.setPen(QColor(0x2b, 0x3a, 0x4a));
        const QString name = stateName(state);
        const QRect label(swatch.right() + 6, swatch.top() - 2, 80, swatch.height() + 4);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, name);
        at.rx() += swatch.width() + 12 + painter.fontMetrics().horizontalAdvance(name) + 8;
    }
}

}  // namespace sumbrook
