// The still art of the screens: drawn once per size into a picture, then copied, and
// looking exactly as when drawn straight.
#include <gtest/gtest.h>
#include <QLinearGradient>
#include <QTemporaryDir>

#include "common/uniform_source.h"
#include "practice/scene/practice_stage.h"
#include "practice/scene/scene_style.h"
#include "practice/scene/stage_frame.h"
#include "practice/scene/stage_layout.h"
#include "practice/scene/still_art.h"
#include "support/fake_sound_channel.h"
#include "support/manual_clock.h"
#include "support/qstring_printer.h"

namespace sumbrook {
namespace {

void paintArt(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, QColor(0x8E, 0xD1, 0xFC));
    sky.setColorAt(1, Qt::white);
    p.fillRect(stage_layout::kStage, sky);
    p.setPen(QPen(QColor(0x4F, 0xA3, 0x5A), 3));
    p.setBrush(QColor(0xFF, 0xD1, 0x4D));
    p.drawEllipse(QPointF(401.3, 297.7), 120.4, 80.2);
    scene_style::drawFittedText(p, QRectF(100, 420, 600, 80), QStringLiteral("一年级数学 123"),
                                scene_style::labelFont(48), Qt::black);
}

// The worst difference of any channel between two pictures of the same size.
int worstDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            worst = std::max({worst, std::abs(qRed(p[x]) - qRed(q[x])),
                              std::abs(qGreen(p[x]) - qGreen(q[x])),
                              std::abs(qBlue(p[x]) - qBlue(q[x]))});
        }
    }
    return worst;
}

TEST(StillArt, APictureOfTheArtLooksAsTheArtDrawnStraight) {
    // Window sizes, stages set off by bands of a fraction of a pixel, a doubled screen.
    const struct {
        double scale, dx, dy, ratio;
    } cases[] = {{1, 0, 0, 1}, {2.4, 0, 0, 1}, {1.37, 0.5, 13.25, 1}, {1.2, 3, 0.75, 2}};
    for (const auto& c : cases) {
        const QSize size(qCeil((800 * c.scale + c.dx) * c.ratio),
                         qCeil((600 * c.scale + c.dy) * c.ratio));
        auto frame = [&](bool still) {
            QImage image(size, QImage::Format_RGB32);
            image.setDevicePixelRatio(c.ratio);
            image.fill(Qt::white);  // as the stage's frame starts its scenery
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(c.dx, c.dy);
            p.scale(c.scale, c.scale);
            p.setClipRect(stage_layout::kStage);
            if (still) {
                still_art::draw(p, u"test/looks", paintArt);
            } else {
                paintArt(p);
            }
            return image;
        };
        const QImage straight = frame(false);
        const int drawn = still_art::picturesDrawn();
        const QImage first = frame(true);
        const int drawnFirst = still_art::picturesDrawn();
        const QImage kept = frame(true);
        EXPECT_GT(drawnFirst, drawn) << "scale " << c.scale;
        EXPECT_EQ(still_art::picturesDrawn(), drawnFirst) << "scale " << c.scale;
        EXPECT_LE(worstDifference(straight, first), 2) << "scale " << c.scale;
        EXPECT_EQ(kept, first) << "scale " << c.scale;
    }
}

TEST(StillArt, IsDrawnAgainOnlyForANewSizeAndStraightUnderARotation) {
    QImage image(1000, 800, QImage::Format_RGB32);
    const int before = still_art::picturesDrawn();
    auto draw = [&](double scale, double angle) {
        QPainter p(&image);
        p.scale(scale, scale);
        p.rotate(angle);
        still_art::draw(p, u"test/sizes", paintArt);
    };
    draw(1, 0);
    draw(1.25, 0);
    draw(1, 0);
    draw(1.25, 0);
    EXPECT_EQ(still_art::picturesDrawn(), before + 2);
    draw(1, 3);
    EXPECT_EQ(still_art::picturesDrawn(), before + 2);
}

// A child going back and forth between the menus and the map: each screen's scenery is
// drawn into its picture once, whatever the screens in between.
TEST(StillArt, ScreensVisitedAgainCopyTheirScenery) {
    QTemporaryDir dir;
    ProgressStore store(dir.path());
    testing::ManualClock clock;
    SeededUniformSource source(3);
    PracticeStage stage(store, std::make_unique<testing::FakeSoundChannel>(), source, clock);
    stage.start();
    for (int i = 0; i < PracticeLoop::kIntroSteps; ++i) {
        stage.step();
    }
    QPixmap window(800, 600);
    StageFrame frame;
    auto show = [&] {
        for (int i = 0; i < PracticeLoop::kPanelSlideSteps; ++i) {
            stage.step();  // a panel slides in
        }
        QPainter p(&window);
        frame.paint(p, stage, QRectF(0, 0, 800, 600), 1.0, QRectF(0, 0, 800, 600));
    };
    show();
    // The settings panel, and a wrong answer (no sum within ten is 99) with its bear.
    const char* visits[] = {"游戏模式",   "返回", "设置", "返回",  "自选模式",
                            "10以内加法", "9",    "9",    "确定",  "下一题",
                            "返回",       "下页", "上页", "总目录"};
    for (const char* caption : visits) {
        ASSERT_TRUE(stage.click(QString::fromUtf8(caption))) << caption;
        show();
    }
    const int drawn = still_art::picturesDrawn();
    for (int round = 0; round < 2; ++round) {
        for (const char* caption : visits) {
            ASSERT_TRUE(stage.click(QString::fromUtf8(caption))) << caption;
            show();
        }
    }
    EXPECT_EQ(still_art::picturesDrawn(), drawn);
    EXPECT_GE(frame.sceneriesDrawn(), 3 * 12);  // put together anew at every change of screen
}

}  // namespace
}  // namespace sumbrook
