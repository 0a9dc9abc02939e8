#include "pupil_card.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace sumbrook {

namespace {

// The scene's palette (ART.md): white cards edged in light blue, the sun's yellow for the
// card a child is on, the secondary blue for the number.
const QColor kCard(0xFF, 0xFF, 0xFF);
const QColor kCardHover(0xFF, 0xFB, 0xE6);
const QColor kEdge(0xB3, 0xE5, 0xFC);
const QColor kFocusEdge(0xF2, 0xA9, 0x00);
const QColor kFocusFill(0xFF, 0xF4, 0xC7);
const QColor kNumber(0x02, 0x88, 0xD1);
const QColor kName(0x26, 0x32, 0x38);
const QColor kShadow(0x26, 0x32, 0x38, 40);

}  // namespace

PupilCard::PupilCard(ClassPupil pupil, QWidget* parent)
    : QAbstractButton(parent), pupil_(std::move(pupil)) {
    setText(pupil_.name);
    setObjectName(QStringLiteral("学号") + pupil_.number);
    setAccessibleName(pupil_.number + u' ' + pupil_.name);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void PupilCard::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PupilCard::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PupilCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool lit = hasFocus();
    const qreal edge = lit ? 4.0 : 2.0;
    const qreal radius = std::min(height(), width()) * 0.22;
    // Pressed cards sink onto their shadow.
    const qreal lift = isDown() ? 0.0 : 3.0;
    const QRectF face = QRectF(rect()).adjusted(edge / 2, edge / 2, -edge / 2 - 1, -edge / 2 - 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kShadow);
    painter.drawRoundedRect(face.translated(0, 3), radius, radius);
    const QRectF card = face.translated(0, 3 - lift);
    painter.setBrush(lit ? kFocusFill : (hovered_ ? kCardHover : kCard));
    painter.setPen(QPen(lit ? kFocusEdge : kEdge, edge));
    painter.drawRoundedRect(card, radius, radius);

    // The number small in the top left corner.
    QFont numberFont(QStringLiteral("DejaVu Sans"));
    numberFont.setBold(true);
    numberFont.setPixelSize(std::max(11, static_cast<int>(card.height() * 0.19)));
    painter.setFont(numberFont);
    painter.setPen(kNumber);
    const qreal inset = std::max(6.0, card.height() * 0.1);
    painter.drawText(card.adjusted(inset, inset * 0.6, -inset, 0), Qt::AlignLeft | Qt::AlignTop,
                     pupil_.number);

    // The name as large as the card lets it be, in the textbook's 楷体, a little below the
    // middle so that the number keeps its corner.
    const qsizetype letters = std::max<qsizetype>(2, pupil_.name.size());
    const int byHeight = static_cast<int>(card.height() * 0.42);
    const int byWidth = static_cast<int>((card.width() - 2 * inset) / (letters + 0.2));
    QFont nameFont(QStringLiteral("AR PL UKai CN"));
    nameFont.setPixelSize(std::max(12, std::min(byHeight, byWidth)));
    painter.setFont(nameFont);
    painter.setPen(kName);
    const QRectF nameArea = card.adjusted(inset / 2, card.height() * 0.18, -inset / 2, 0);
    painter.drawText(nameArea, Qt::AlignCenter, pupil_.name);
}

}  // namespace sumbrook
