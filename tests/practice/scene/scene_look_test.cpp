// What a child sees, measured: captions inside their cards at every size the stage is
// shown at, clock hands that end short of the numerals, a header that makes room for
// "退出全屏", and a sparkle trail that leaves nothing behind.
#include <gtest/gtest.h>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>

#include "practice/core/exercise_catalogue.h"
#include "practice/scene/clock_face.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/scene_widget.h"
#include "practice/scene/stage_layout.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

namespace layout = stage_layout;

// The inked pixels of `text` drawn by drawFittedText into `rect` on a stage shown at
// `scale`, in stage units; empty when nothing was drawn.
QRectF inkOf(const QString& text, const QRectF& rect, const QFont& font, double scale, int flags) {
    QImage image(static_cast<int>(layout::kWidth * scale),
                 static_cast<int>(layout::kHeight * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    scene_style::drawFittedText(painter, rect, text, font, Qt::black, flags);
    painter.end();
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {left / scale, top / scale, (right + 1 - left) / scale, (bottom + 1 - top) / scale};
}

TEST(SceneLook, EveryMenuEntryStaysInsideItsCardAtEverySizeTheStageIsShownAt) {
    for (int n = ExerciseCatalogue::kFirst; n <= ExerciseCatalogue::kLast; ++n) {
        const Exercise& e = ExerciseCatalogue::exercise(n);
        const QRectF card = layout::menuEntry(e.menuPage, e.column, e.row);
        // The caption's room: right of the number disc, short of the card's right edge.
        const QRectF room(card.left() + 48, card.top(), card.width() - 56, card.height());
        for (const double scale : {0.72, 1.0, 1.35, 2.4}) {
            const QRectF ink = inkOf(ExerciseCatalogue::title(n), room, scene_style::labelFont(24),
                                     scale, Qt::AlignVCenter | Qt::AlignLeft);
            ASSERT_FALSE(ink.isEmpty()) << n;
            EXPECT_LE(ink.right(), card.right() - 4) << n << " at " << scale;
            EXPECT_GE(ink.left(), room.left() - 2) << n << " at " << scale;
        }
    }
}

TEST(SceneLook, TheCaptionsUseTheTextbookKai) {
    const QFont font = scene_style::labelFont(24);
    ASSERT_FALSE(font.families().isEmpty());
    EXPECT_EQ(font.families().front(), QStringLiteral("LXGW WenKai"));
    // The face is there and draws 真 itself (the picture of "真棒！" is in the golden
    // pictures of the right-answer screens).
    EXPECT_TRUE(QFontMetricsF(font).inFont(QChar(0x771F)));
}

TEST(SceneLook, TheClockHandsEndShortOfEveryNumeral) {
    for (const double radius : {112.0, 160.0}) {  // the dial's size, and larger
        const QPointF centre(0, 0);
        const QFontMetricsF metrics(clock_face::numeralFont(radius));
        double nearest = 1e9;
        for (int h = 1; h <= 12; ++h) {
            // The numeral's ink, centred where the dial draws it.
            const QRectF box = metrics.tightBoundingRect(QString::number(h));
            const QPointF at = clock_face::numeralCentre(centre, radius, h);
            const QRectF ink = box.translated(at - box.center());
            const double dx = std::max({ink.left(), 0.0, -ink.right()});
            const double dy = std::max({ink.top(), 0.0, -ink.bottom()});
            nearest = std::min(nearest, std::hypot(dx, dy));
        }
        const double minuteTip =
            radius * (clock_face::kMinuteHand + clock_face::kMinuteHandWidth / 2);
        const double hourTip = radius * (clock_face::kHourHand + clock_face::kHourHandWidth / 2);
        EXPECT_LT(minuteTip + 2, nearest) << radius;
        EXPECT_LT(hourTip + radius * 0.1, minuteTip) << radius;  // the hour hand is short
    }
}

TEST(SceneLook, InFullScreenTheHeaderMakesRoomForTheExitControl) {
    for (const bool full : {false, true}) {
        std::vector<QRectF> cards{layout::levelPill(full)};
        for (int c = 0; c < 3; ++c) {
            cards.push_back(layout::headerColumn(c, full));
        }
        for (std::size_t i = 0; i < cards.size(); ++i) {
            EXPECT_GE(cards[i].left(), 16) << i;
            if (i > 0) {
                EXPECT_GE(cards[i].left(), cards[i - 1].right() + 4) << i;  // none overlap
            }
            if (full) {
                EXPECT_FALSE(cards[i].intersects(layout::kExitOnStage.adjusted(-8, 0, 0, 0))) << i;
            }
        }
    }
}

class SceneWidgetTrail : public ::testing::Test {
  protected:
    SceneWidgetTrail() {
        stage = std::make_unique<PracticeStage>(
            store, std::make_unique<testing::FakeSoundChannel>(), source, clock);
        stage->start();
    }
    int visibleStars() const {
        int n = 0;
        for (const auto& star : stage->sparkles().stars()) {
            n += star.opacity > 0 ? 1 : 0;
        }
        return n;
    }
    QTemporaryDir dir;
    ProgressStore store{dir.path()};
    testing::ManualClock clock;
    SeededUniformSource source{3};
    std::unique_ptr<PracticeStage> stage;
};

TEST_F(SceneWidgetTrail, AStarThatGoesOutIsRepaintedAwayAndThenTheWidgetRestsAgain) {
    SceneWidget widget(*stage);
    widget.resize(800, 600);
    for (int i = 0; i < PracticeLoop::kIntroSteps + 1; ++i) {
        widget.advance();
    }
    // The pointer wanders over the main menu, then rests on a caption.
    for (int i = 0; i < 30; ++i) {
        stage->pointerMoved(QPointF(100 + i * 7, 200 + (i % 5) * 9));
        widget.advance();
    }
    stage->pointerMoved(layout::mainMenuButton(0).center());
    int wentOut = 0;
    for (int i = 0; i < 60; ++i) {
        const int before = visibleStars();
        const int repaintsBefore = widget.partialRepaints();
        widget.advance();
        const int after = visibleStars();
        if (after == 0 && before > 0) {
            ++wentOut;
            // The last stars went out: where they were drawn is repainted once more.
            EXPECT_GT(widget.partialRepaints() - repaintsBefore, 0) << i;
        }
    }
    EXPECT_GT(wentOut, 0);
    EXPECT_EQ(visibleStars(), 0);
    const int resting = widget.partialRepaints();
    for (int i = 0; i < 24; ++i) {
        widget.advance();
    }
    EXPECT_EQ(widget.partialRepaints(), resting);
}

}  // namespace
}  // namespace sumbrook
