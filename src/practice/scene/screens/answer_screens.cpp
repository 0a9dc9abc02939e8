#include "answer_screens.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "answer_line.h"
#include "expression_question_screen.h"
#include "practice/scene/mascot.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_art.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_timing.h"
#include "practice/scene/stage_layout.h"
#include "practice/scene/still_art.h"
#include "question_frame.h"
#include "question_screen_painter.h"
#include "sum_question_screen.h"

namespace sumbrook {

namespace layout = stage_layout;
namespace style = scene_style;
using namespace answer_line;
using namespace question_frame;

namespace {

// The praise and comfort words, one per clip.
const char* const kPraise[] = {"真棒！", "答对了！", "太棒了！"};
const char* const kComfort[] = {"再想想！", "加油！", "没关系！"};

// The speech bubble with its tail towards the bear: the same shape on every repaint.
const QPainterPath& bubbleShape() {
    static const QPainterPath shape = [] {
        QPainterPath bubble;
        bubble.addRoundedRect(layout::kBubble, 28, 28);
        QPainterPath tail;
        tail.moveTo(layout::kBubble.right() - 12, layout::kBubble.top() + 22);
        tail.lineTo(layout::kBubble.right() + 34, layout::kBubble.top() + 30);
        tail.lineTo(layout::kBubble.right() - 12, layout::kBubble.top() + 48);
        tail.closeSubpath();
        return bubble.united(tail);
    }();
    return shape;
}

// Where the bubble, its tail, its edge and its shadow draw.
const QRectF kBubbleReach = layout::kBubble.adjusted(-3, -3, 37, 8);

void drawBubble(QPainter& painter, const QString& words, const QColor& edge) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::shadow(28));
    painter.drawPath(bubbleShape().translated(0, 4));
    painter.setPen(QPen(edge, 3));
    painter.setBrush(Qt::white);
    painter.drawPath(bubbleShape());
    painter.restore();
    style::drawFittedText(painter, layout::kBubble.adjusted(12, 0, -12, 0), words,
                          style::labelFont(28), style::kText);
}

void drawCheckBadge(QPainter& painter, QPointF centre) {
    painter.save();
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(style::kRight);
    painter.drawEllipse(centre, 24, 24);
    QPainterPath tick;
    tick.moveTo(centre + QPointF(-11, 0));
    tick.lineTo(centre + QPointF(-3, 9));
    tick.lineTo(centre + QPointF(12, -9));
    painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    painter.restore();
}

// Stars that twinkle around the cheering bear: each grows and shrinks gently on its own beat.
void drawPraiseStars(QPainter& painter, int step) {
    for (const layout::Twinkle& s : layout::kPraiseStars) {
        const double beat =
            0.85 + 0.15 * std::sin((step + s.phase) * 2 * M_PI / timing::kTwinkleSteps);
        style::drawStar(painter, s.at, s.size * beat, style::kSun, style::kSunEdge);
    }
}

// Where a praise star draws at its largest, edge included.
QRectF praiseStarRect(const layout::Twinkle& s) {
    const double reach = s.size + std::max(1.0, s.size / 10);
    return {s.at.x() - reach, s.at.y() - reach, 2 * reach, 2 * reach};
}

// What the child typed, as the answer would be written: the clock's two fields with their
// units, the money value with its unit; empty when nothing was typed.
QString typedAnswer(const Question& question, const QString& entry, const QString& minute) {
    if (std::holds_alternative<ClockQuestion>(question)) {
        if (entry.isEmpty() && minute.isEmpty()) {
            return {};
        }
        return (entry.isEmpty() ? QStringLiteral("?") : entry) + text("点") +
               (minute.isEmpty() ? QStringLiteral("?") : minute) + text("分");
    }
    if (entry.isEmpty()) {
        return {};
    }
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        return entry + money->danw;
    }
    return entry;
}

constexpr double kCrossedOutSmallest = 0.55;

// The child's answer, quiet and gently crossed out, ending at `right`; a long one shows
// its last digits. Returns its left edge.
double drawCrossedOut(QPainter& painter, QString typed, double right, double centreY,
                      double maxWidth, double size) {
    const QFont font = entryFont(typed, maxWidth, size, kCrossedOutSmallest);
    const double width = style::textAdvance(font, typed);
    const QRectF at(right - width, centreY - size * 0.8, width, size * 1.6);
    painter.save();
    painter.setFont(font);
    painter.setPen(style::kLabelText);
    painter.drawText(at.adjusted(-4, 0, 4, 0), Qt::AlignCenter, typed);
    QColor stroke = style::kWrong;
    stroke.setAlphaF(0.55);
    painter.setPen(
        QPen(stroke, std::max(2.0, font.pixelSize() / 12.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(at.left() - 4, centreY + font.pixelSize() * 0.12),
                     QPointF(at.right() + 4, centreY - font.pixelSize() * 0.12));
    painter.restore();
    return at.left();
}

void drawCorrectAnswer(QPainter& painter, const Question& question, const QString& typed) {
    const bool picture = std::holds_alternative<MoneyQuestion>(question) ||
                         std::holds_alternative<ClockQuestion>(question);
    if (const auto* money = std::get_if<MoneyQuestion>(&question)) {
        SceneArt::paintMoney(painter, layout::kPictureArea, money->picture);
    } else if (const auto* clock = std::get_if<ClockQuestion>(&question)) {
        drawHands(painter, layout::kDialCentre, layout::kDialRadius, *clock);
    }
    const QRectF area = !picture ? layout::kQuestionArea.adjusted(32, 4, -32, -16)
                        : std::holds_alternative<MoneyQuestion>(question)
                            ? layout::kMoneyAnswerArea
                            : layout::kClockAnswerArea;
    const bool typedUnder = picture && !typed.isEmpty();
    const QRectF label(area.left(), area.top() + (picture && !typedUnder ? 24 : 4), area.width(),
                       44);
    style::drawFittedText(painter, label, text("正确的答案是:"), style::labelFont(28),
                          style::kText);
    Line answer;
    answer.size = picture ? 72 : 64;
    answer.gap = 4;
    answer.pieces = mixedRuns(correctAnswerText(question));
    // The child's answer, when there is one, stands crossed out before the right one (under
    // it beside a picture, where the row is narrow); the right one keeps its own room.
    const double typedSize = picture ? 30 : 40;
    const bool beside = !typed.isEmpty() && !picture;
    const double typedRoom = beside ? std::min(area.width() * 0.42, 260.0) : area.width() - 48;
    layOut(answer, area.width() - 48 - (beside ? typedRoom : 0), 32);
    // A soft blue pill draws the eye to the answer without any alarm.
    const QRectF row(area.left(), label.bottom() + 12, area.width(), answer.size * 1.6);
    const double width = lineWidth(answer);
    double typedWidth = 0;
    if (beside) {
        QString shown = typed;
        typedWidth = style::textAdvance(entryFont(shown, typedRoom - 24, typedSize), shown) + 24;
    }
    const double pillLeft = row.center().x() - (width + 48 - typedWidth) / 2;
    const QRectF answerRow(pillLeft, row.top(), width + 48, row.height());
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kSoftBand);
    painter.drawRoundedRect(answerRow, 20, 20);
    painter.restore();
    if (beside) {
        drawCrossedOut(painter, typed, pillLeft - 20, row.center().y(), typedRoom - 24, typedSize);
    } else if (!typed.isEmpty()) {
        QString shown = typed;
        const double under = style::textAdvance(entryFont(shown, typedRoom, typedSize), shown);
        drawCrossedOut(painter, typed, row.center().x() + under / 2, row.bottom() + typedSize * 0.9,
                       typedRoom, typedSize);
    }
    drawLine(painter, answer, answerRow, Qt::AlignHCenter, false);
    // Under a written sum, the sum itself with the answer in its place, to read once more.
    const QRectF recap(area.left(), row.bottom() + 4, area.width(),
                       layout::kQuestionArea.bottom() - row.bottom() - 8);
    const QString answerText = correctAnswerText(question);
    if (const auto* sum = std::get_if<TwoNumberQuestion>(&question)) {
        drawLine(painter, SumQuestionScreen::line(*sum, answerText, BoxLook::Idle, false, 34),
                 recap, Qt::AlignHCenter, false);
    } else if (const auto* expression = std::get_if<ExpressionQuestion>(&question)) {
        drawLine(painter,
                 ExpressionQuestionScreen::line(*expression, answerText, BoxLook::Idle, false, 34),
                 recap, Qt::AlignHCenter, false);
    }
}

}  // namespace

void AnswerScreen::paintBackdrop(QPainter& painter, const PracticeStage& stage) const {
    const Screen screen = stage.loop().screen();
    const bool clock = screen == Screen::Dui4 || screen == Screen::Chuo4;
    const QString art = clock ? QStringLiteral("answer-clock") : QStringLiteral("answer");
    still_art::draw(painter, skyStillName(art, stage), [&](QPainter& p) {
        drawSky(p, stage);
        style::drawCard(p, layout::kQuestionArea);
        if (clock) {
            drawDial(p, layout::kDialCentre, layout::kDialRadius);
        }
    });
    // Nothing the answer screen shows changes while it is up but the running time and
    // the bear: the counters and the card stand in the backdrop.
    drawHeader(painter, stage, layout::kStage, HeaderPart::StillParts);
    paintCard(painter, stage);
}

std::vector<QRectF> AnswerScreen::changingRects(const PracticeStage& stage) const {
    const PracticeLoop& loop = stage.loop();
    if (loop.confirmBox() != ConfirmBox::None || loop.settingsPanel() != SettingsPanel::Hidden) {
        return {};
    }
    std::vector<QRectF> rects{question_frame::runningTimeRect(loop)};
    const Screen screen = loop.screen();
    if (screen == Screen::Dui || screen == Screen::Dui2 || screen == Screen::Dui3 ||
        screen == Screen::Dui4) {
        rects.push_back(Mascot::moving(layout::kAnswerBear.at, layout::kAnswerBear.size,
                                       Mascot::Mood::Cheering));
        for (const layout::Twinkle& star : layout::kPraiseStars) {
            rects.push_back(praiseStarRect(star));
        }
    } else {
        rects.push_back(Mascot::moving(layout::kAnswerBear.at, layout::kAnswerBear.size,
                                       Mascot::Mood::Thinking));
    }
    return rects;
}

void RightAnswerScreen::paintCard(QPainter& painter, const PracticeStage& stage) const {
    QuestionScreenPainter::drawQuestionContent(painter, stage, true);
    drawCheckBadge(painter, layout::kQuestionArea.topRight() + QPointF(-14, 14));
}

void RightAnswerScreen::paintMoving(QPainter& painter, const PracticeStage& stage,
                                    const QRectF& region) const {
    const int clip = std::clamp(stage.loop().answerClip(), 0, 2);
    drawHeader(painter, stage, region, HeaderPart::RunningTime);
    drawPraiseStars(painter, stage.stepCount());
    const auto mood = Mascot::Mood::Cheering;
    if (region.intersects(Mascot::reach(layout::kAnswerBear.at, layout::kAnswerBear.size, mood))) {
        Mascot::paint(painter, layout::kAnswerBear.at, layout::kAnswerBear.size, mood,
                      stage.stepsOnScreen());
    }
    if (region.intersects(kBubbleReach)) {
        drawBubble(painter, text(kPraise[clip]), style::kSunEdge);
    }
}

void WrongAnswerScreen::paintCard(QPainter& painter, const PracticeStage& stage) const {
    const PracticeLoop& loop = stage.loop();
    if (loop.question()) {
        drawCorrectAnswer(painter, *loop.question(),
                          typedAnswer(*loop.question(), loop.answerText(), loop.minuteText()));
    }
    // The thinking bear keeps still but for its thought bubble, alike at every wrong
    // answer, so it is drawn once per size; the comfort word in its speech bubble stays
    // the same.
    const auto mood = Mascot::Mood::Thinking;
    const QRectF reach = Mascot::reach(layout::kAnswerBear.at, layout::kAnswerBear.size, mood);
    still_art::drawSprite(painter, u"bear/thinking", reach.adjusted(-2, -2, 2, 2),
                          [mood](QPainter& p) {
                              Mascot::paint(p, layout::kAnswerBear.at, layout::kAnswerBear.size,
                                            mood, 0, Mascot::Layer::Still);
                          });
    const int clip = std::clamp(loop.answerClip(), 0, 2);
    drawBubble(painter, text(kComfort[clip]), style::kKeyEdge.darker(115));
}

void WrongAnswerScreen::paintMoving(QPainter& painter, const PracticeStage& stage,
                                    const QRectF& region) const {
    drawHeader(painter, stage, region, HeaderPart::RunningTime);
    const auto mood = Mascot::Mood::Thinking;
    if (region.intersects(Mascot::moving(layout::kAnswerBear.at, layout::kAnswerBear.size, mood))) {
        Mascot::paint(painter, layout::kAnswerBear.at, layout::kAnswerBear.size, mood,
                      stage.stepsOnScreen(), Mascot::Layer::Moving);
    }
}

}  // namespace sumbrook
