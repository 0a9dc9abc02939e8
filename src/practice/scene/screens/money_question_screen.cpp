#include "money_question_screen.h"

#include "practice/scene/scene_art.h"
#include "practice/scene/stage_layout.h"

namespace sumbrook {

namespace layout = stage_layout;
using namespace answer_line;

Line MoneyQuestionScreen::line(const MoneyQuestion& q, const QString& entry, BoxLook look,
                               bool caret) {
    Line line;
    line.size = 64;
    line.gap = 14;
    line.pieces = {boxPiece(entry, look, caret), textPiece(q.danw, false)};
    layOut(line, layout::kMoneyAnswerArea.width(), 40);
    return line;
}

void MoneyQuestionScreen::drawQuestion(QPainter& painter, const MoneyQuestion& q,
                                       const QString& entry, BoxLook look, bool caret, bool blink) {
    SceneArt::paintMoney(painter, layout::kPictureArea, q.picture);
    drawLine(painter, line(q, entry, look, caret), layout::kMoneyAnswerArea, Qt::AlignHCenter,
             blink);
}

std::optional<QRectF> MoneyQuestionScreen::caretRect(const MoneyQuestion& q, const QString& entry,
                                                     BoxLook look, bool caret) {
    return caretBox(line(q, entry, look, caret), layout::kMoneyAnswerArea, Qt::AlignHCenter);
}

}  // namespace sumbrook
