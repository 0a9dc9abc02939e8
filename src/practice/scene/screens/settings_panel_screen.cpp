#include "settings_panel_screen.h"

#include <QPainterPath>

#include "practice/core/music_rules.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_motion.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/stage_layout.h"
#include "practice/scene/still_art.h"
#include "question_frame.h"

namespace sumbrook {

namespace layout = stage_layout;
namespace style = scene_style;
using question_frame::text;

namespace {

// Where the card draws, its shadow included.
const QRectF kCardReach = layout::kPanel.adjusted(-3, -3, 3, 8);

void drawNote(QPainter& painter, QPointF at, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(at + QPointF(6, 6), at + QPointF(6, -14));
    painter.drawLine(at + QPointF(6, -14), at + QPointF(16, -10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(at + QPointF(1, 6), 6, 5);
    painter.restore();
}

void drawSpeaker(QPainter& painter, QPointF at, const QColor& colour) {
    QPolygonF body;
    body << at + QPointF(0, -5) << at + QPointF(7, -5) << at + QPointF(15, -12)
         << at + QPointF(15, 12) << at + QPointF(7, 5) << at + QPointF(0, 5);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(body);
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(at.x() + 10, at.y() - 8, 14, 16), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(at.x() + 10, at.y() - 14, 22, 28), -50 * 16, 100 * 16);
    painter.restore();
}

// The choice that is playing now: the picked song while one repeats, otherwise random play.
int playingChoice(const MusicRules& music) {
    const auto& choices = MusicRules::choices();
    const int song = music.repeatingPickedSong() ? music.currentSong().left(1).toInt() : 0;
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        if (choices[static_cast<std::size_t>(i)].song == song) {
            return i;
        }
    }
    return -1;
}

void drawPanelButtons(QPainter& painter) {
    using Kind = style::ButtonKind;
    const auto& choices = MusicRules::choices();
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        style::drawButton(painter, layout::songChoice(i),
                          QString::fromUtf8(choices[static_cast<std::size_t>(i)].caption),
                          Kind::Quiet, false);
    }
    style::drawButton(painter, layout::kVolumeUp, QStringLiteral("+"), Kind::Secondary, false);
    style::drawButton(painter, layout::kVolumeDown, QStringLiteral("-"), Kind::Secondary, false);
    style::drawButton(painter, layout::kClearHistory, text("清除历史纪录"), Kind::Primary, false);
    style::drawButton(painter, layout::kPanelBack, text("返回"), Kind::Secondary, false);
}

// The card with its ribbon, headings and bands; the same whenever it shows.
void paintCard(QPainter& painter) {
    const QRectF panel = layout::kPanel;
    const QRectF songs = layout::songChoice(0).united(layout::songChoice(9));
    style::drawCard(painter, panel, 28);
    painter.setPen(QPen(style::kSunEdge, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel, 28, 28);
    // The title ribbon along the top.
    QPainterPath ribbon;
    ribbon.addRoundedRect(panel.adjusted(1.5, 1.5, -1.5, 0), 27, 27);
    QPainterPath top;
    top.addRect(QRectF(panel.left(), panel.top(), panel.width(), 60));
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kSun);
    painter.drawPath(ribbon.intersected(top));
    painter.setPen(QPen(style::kSunEdge, 2));
    painter.drawLine(QPointF(panel.left() + 2, panel.top() + 60),
                     QPointF(panel.right() - 2, panel.top() + 60));
    style::drawFittedText(painter, QRectF(panel.left(), panel.top(), panel.width(), 60),
                          text("设置"), style::labelFont(28), style::kText);

    // The music section and the volume row, each on a soft band.
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kSoftBand);
    painter.drawRoundedRect(songs.adjusted(-12, -44, 12, 12), 20, 20);
    drawNote(painter, QPointF(songs.left() + 6, songs.top() - 20), style::kSecondaryPressed);
    style::drawFittedText(painter, QRectF(songs.left() + 30, songs.top() - 42, 240, 38),
                          text("背景音乐"), style::labelFont(26), style::kText,
                          Qt::AlignLeft | Qt::AlignVCenter);

    const QRectF volumeRow(songs.left() - 12, layout::kVolumeUp.top() - 6, songs.width() + 24,
                           layout::kVolumeUp.height() + 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kSoftBand);
    painter.drawRoundedRect(volumeRow, 20, 20);
    drawSpeaker(painter, QPointF(songs.left() + 8, volumeRow.center().y()),
                style::kSecondaryPressed);
    style::drawFittedText(
        painter,
        QRectF(songs.left() + 48, layout::kVolumeUp.top(),
               layout::kVolumeUp.left() - songs.left() - 60, layout::kVolumeUp.height()),
        text("音量"), style::labelFont(26), style::kText, Qt::AlignLeft | Qt::AlignVCenter);
}

// The panel's card (dimmed screen, card, headings: still once it has slid in), its values
// (the volume, the ring round the playing song), or both.
enum class PanelPart { Whole, Card, Values };

void paintPanel(QPainter& painter, const PracticeStage& stage, PanelPart part) {
    const PracticeLoop& loop = stage.loop();
    const bool shown = loop.settingsPanel() == SettingsPanel::Shown;
    const bool card = part != PanelPart::Values;
    const bool values = part != PanelPart::Card;
    const double arrived = shown ? 1.0
                                 : motion::easeOutCubic(static_cast<double>(loop.panelSlideStep()) /
                                                        PracticeLoop::kPanelSlideSteps);
    // The main menu stays in view behind, softly dimmed.
    const double drop = -(1 - arrived) * (layout::kPanel.bottom() + 16);
    painter.save();
    if (card) {
        QColor dim = style::kDim;
        dim.setAlphaF(0.32 * arrived);
        painter.fillRect(layout::kStage, dim);
        painter.translate(0, drop);
        if (arrived < 1) {
            paintCard(painter);  // on its way in: somewhere new at every step
        } else {
            still_art::drawSprite(painter, u"settings-panel", kCardReach, paintCard);
        }
    } else {
        painter.translate(0, drop);
    }

    if (shown && values) {
        const QRectF value = layout::kVolumeValue;
        painter.setPen(QPen(style::kKeyEdge.darker(110), 2));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(value, 14, 14);
        style::drawFittedText(painter, value, QString::number(loop.music().yinliang()),
                              style::digitFont(24), style::kText);
        // A golden ring around the choice that is playing.
        const int playing = playingChoice(loop.music());
        if (playing >= 0) {
            const QRectF at = layout::songChoice(playing).adjusted(-5, -5, 5, 5);
            painter.setPen(QPen(style::kSunEdge, 4));
            painter.setBrush(style::kSun);
            painter.drawRoundedRect(at, 20, 20);
        }
        // With a box in front the stage leaves the panel's buttons out; they stay in the
        // picture behind the box so the panel does not look emptied.
        if (loop.confirmBox() != ConfirmBox::None) {
            drawPanelButtons(painter);
        }
    }
    painter.restore();
}

}  // namespace

void SettingsPanelScreen::paintBackdrop(QPainter& painter, const PracticeStage& stage) const {
    // Behind a box the whole panel stands still, sliding or not.
    if (stage.loop().confirmBox() != ConfirmBox::None) {
        paintPanel(painter, stage, PanelPart::Whole);
    } else if (stage.loop().settingsPanel() == SettingsPanel::Shown) {
        paintPanel(painter, stage, PanelPart::Card);
    }
}

void SettingsPanelScreen::paintMoving(QPainter& painter, const PracticeStage& stage,
                                      const QRectF&) const {
    if (stage.loop().settingsPanel() == SettingsPanel::SlidingIn) {
        paintPanel(painter, stage, PanelPart::Whole);
    } else if (stage.loop().settingsPanel() == SettingsPanel::Shown) {
        paintPanel(painter, stage, PanelPart::Values);
    }
}

std::vector<QRectF> SettingsPanelScreen::changingRects(const PracticeStage&) const {
    return {};  // it changes only when the child acts
}

}  // namespace sumbrook
