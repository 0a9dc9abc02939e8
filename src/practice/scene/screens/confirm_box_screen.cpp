#include "confirm_box_screen.h"

#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/stage_layout.h"
#include "question_frame.h"

namespace sumbrook {

namespace layout = stage_layout;
namespace style = scene_style;
using question_frame::text;

void ConfirmBoxScreen::paintBackdrop(QPainter& painter, const PracticeStage& stage) const {
    QColor dim = style::kDim;
    dim.setAlphaF(0.4);
    painter.fillRect(layout::kStage, dim);
    const QRectF box = layout::kBox;
    style::drawCard(painter, box, 24);
    painter.save();
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box, 24, 24);
    // A sun badge on the top edge: a question, or a warning when a record is at stake.
    const bool restart = stage.loop().confirmBox() == ConfirmBox::RestartGame;
    const QPointF badge(box.center().x(), box.top());
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.setBrush(style::kSun);
    painter.drawEllipse(badge, 30, 30);
    painter.restore();
    style::drawFittedText(painter, QRectF(badge.x() - 30, badge.y() - 30, 60, 60),
                          restart ? QStringLiteral("!") : QStringLiteral("?"), style::digitFont(36),
                          style::kText);

    const double textTop = box.top() + 40;
    const double textBottom = layout::kBoxOk.top() - 12;
    if (restart) {
        const double middle = (textTop + textBottom) / 2;
        style::drawFittedText(painter, QRectF(box.left() + 24, middle - 48, box.width() - 48, 44),
                              text("将清除游戏记录！"), style::labelFont(28), style::kText);
        style::drawFittedText(painter, QRectF(box.left() + 24, middle + 4, box.width() - 48, 44),
                              text("您确定吗？"), style::labelFont(28), style::kText);
    } else {
        style::drawFittedText(
            painter, QRectF(box.left() + 24, textTop, box.width() - 48, textBottom - textTop),
            text("清除数据吗？"), style::labelFont(28), style::kText);
    }
}

void ConfirmBoxScreen::paintMoving(QPainter&, const PracticeStage&, const QRectF&) const {}

std::vector<QRectF> ConfirmBoxScreen::changingRects(const PracticeStage&) const {
    return {};
}

}  // namespace sumbrook
