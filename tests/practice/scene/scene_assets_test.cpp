// The movie's art and sounds: every asset the scene names is in the bundle and
// usable, and money pictures are drawn fitted, sharp and only where asked.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <optional>
#include <vector>

#include "practice/core/sound_names.h"
#include "practice/scene/scene_art.h"
#include "practice/scene/scene_assets.h"

namespace sumbrook {
namespace {

struct SoundAsset {
    QString name;
    double minSeconds;
    double maxSeconds;
};

std::vector<SoundAsset> namedSounds() {
    std::vector<SoundAsset> sounds;
    for (int k = 1; k <= 9; ++k) {
        sounds.push_back({sound_names::song(k), 50, 180});
    }
    sounds.push_back({sound_names::introJingle(), 0.5, 10});
    sounds.push_back({sound_names::fanfare(), 0.5, 10});
    for (int k = 0; k < 3; ++k) {
        sounds.push_back({sound_names::praise(k), 0.3, 5});
        sounds.push_back({sound_names::comfort(k), 0.3, 5});
    }
    sounds.push_back({sound_names::settingsHover(), 0.05, 1});
    sounds.push_back({sound_names::settingsPress(), 0.05, 1});
    return sounds;
}

// Walks the MPEG audio layer III frames from the start (after an ID3v2 tag) and returns
// the playing time, or nothing when the bytes are not an unbroken run of frames.
std::optional<double> mp3Seconds(const QByteArray& bytes) {
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    qsizetype pos = 0;
    if (bytes.startsWith("ID3") && bytes.size() >= 10) {
        pos = 10 +
              ((at(6) & 0x7f) << 21 | (at(7) & 0x7f) << 14 | (at(8) & 0x7f) << 7 | (at(9) & 0x7f));
    }
    static const int kBitrateV1[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                     112, 128, 160, 192, 224, 256, 320};
    static const int kBitrateV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int kRateV1[] = {44100, 48000, 32000};
    double seconds = 0;
    int frames = 0;
    while (pos + 4 <= bytes.size()) {
        if (bytes.mid(pos, 3) == "TAG" && bytes.size() - pos == 128) {
            break;  // ID3v1 trailer
        }
        const int version = (at(pos + 1) >> 3) & 3;  // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
        const int layer = (at(pos + 1) >> 1) & 3;    // 1: layer III
        const int bitrateIndex = at(pos + 2) >> 4;
        const int rateIndex = (at(pos + 2) >> 2) & 3;
        if (at(pos) != 0xff || (at(pos + 1) & 0xe0) != 0xe0 || version == 1 || layer != 1 ||
            bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
            return std::nullopt;
        }
        const bool v1 = version == 3;
        const int rate = kRateV1[rateIndex] / (v1 ? 1 : version == 2 ? 2 : 4);
        const int bitrate = (v1 ? kBitrateV1 : kBitrateV2)[bitrateIndex] * 1000;
        const int samples = v1 ? 1152 : 576;
        const int padding = (at(pos + 2) >> 1) & 1;
        pos += samples / 8 * bitrate / rate + padding;
        seconds += static_cast<double>(samples) / rate;
        ++frames;
    }
    if (frames == 0 || (pos != bytes.size() && bytes.size() - pos != 128)) {
        return std::nullopt;
    }
    return seconds;
}

class NamedSound : public ::testing::TestWithParam<SoundAsset> {};

TEST_P(NamedSound, IsInTheBundleAsWholeMp3OfItsLength) {
    const SoundAsset& sound = GetParam();
    QFile file(scene_assets::soundPath(sound.name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray bytes = file.readAll();
    const std::optional<double> seconds = mp3Seconds(bytes);
    ASSERT_TRUE(seconds.has_value()) << "not an unbroken MP3 frame sequence";
    EXPECT_GE(*seconds, sound.minSeconds);
    EXPECT_LE(*seconds, sound.maxSeconds);
}

INSTANTIATE_TEST_SUITE_P(EverySound, NamedSound, ::testing::ValuesIn(namedSounds()),
                         [](const auto& row) { return row.param.name.chopped(4).toStdString(); });

// ---- money pictures ----------------------------------------------------------------

QImage blank(QSize size = {400, 300}) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage painted(int picture, const QRectF& rect, QSize size = {400, 300}) {
    QImage image = blank(size);
    QPainter painter(&image);
    SceneArt::paintMoney(painter, rect, picture);
    return image;
}

// The smallest rectangle holding every pixel that is not fully transparent.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                std::abs(qBlue(p) - qBlue(q)) > 48 || std::abs(qAlpha(p) - qAlpha(q)) > 48) {
                ++count;
            }
        }
    }
    return count;
}

class MoneyPicture : public ::testing::TestWithParam<int> {};

TEST_P(MoneyPicture, IsAValidSvgInTheBundle) {
    QSvgRenderer renderer(scene_assets::moneyPath(GetParam()));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_FALSE(renderer.viewBoxF().isEmpty());
}

TEST_P(MoneyPicture, IsDrawnInsideTheRectKeepingItsProportions) {
    // The art is 360 × 200: (180, 100) fits exactly; a taller or a wider rect around
    // the same centre must give the same drawing, not a stretched one.
    const QPointF centre(200, 150);
    const auto around = [&](double w, double h) {
        return QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h);
    };
    const QRectF exact = around(180, 100);
    const QRect fit = inkBounds(painted(GetParam(), exact));
    ASSERT_FALSE(fit.isEmpty()) << "nothing drawn";
    EXPECT_TRUE(exact.toAlignedRect().contains(fit));
    // Coins are round and notes oblong; either fills most of the rect's height.
    EXPECT_GE(fit.height(), 70) << "drawn far smaller than the rect";

    for (const QRectF& looser : {around(180, 260), around(380, 100)}) {
        const QRect ink = inkBounds(painted(GetParam(), looser));
        EXPECT_TRUE(looser.toAlignedRect().contains(ink));
        EXPECT_NEAR(ink.width(), fit.width(), 1)
            << "rect " << looser.width() << "x" << looser.height();
        EXPECT_NEAR(ink.height(), fit.height(), 1)
            << "rect " << looser.width() << "x" << looser.height();
        EXPECT_NEAR(ink.center().x(), fit.center().x(), 1);
        EXPECT_NEAR(ink.center().y(), fit.center().y(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(All47, MoneyPicture, ::testing::Range(1, 48));

TEST(MoneyPainting, PicturesOutsideOneTo47DrawNothing) {
    for (int picture : {-1, 0, 48, 100}) {
        EXPECT_TRUE(inkBounds(painted(picture, QRectF(10, 10, 360, 200))).isEmpty()) << picture;
    }
    EXPECT_TRUE(inkBounds(painted(5, QRectF(10, 10, 0, 0))).isEmpty());
}

// A picture drawn magnified (scene scaled to a large window, or a high-density screen)
// must be rendered at the device's size, not an enlarged small copy.
TEST(MoneyPainting, IsSharpWhenThePainterMagnifies) {
    const QImage reference = painted(7, QRectF(20, 20, 360, 200));

    QImage scaled = blank();
    {
        QPainter painter(&scaled);
        painter.scale(2, 2);
        // Warm the cache with the unmagnified size first, as a scene that was resized does.
        QImage small = blank();
        QPainter smallPainter(&small);
        SceneArt::paintMoney(smallPainter, QRectF(10, 10, 180, 100), 7);
        SceneArt::paintMoney(painter, QRectF(10, 10, 180, 100), 7);
    }
    EXPECT_LT(differingPixels(reference, scaled), 40);

    QImage dense = blank();
    dense.setDevicePixelRatio(2);
    {
        QPainter painter(&dense);
        SceneArt::paintMoney(painter, QRectF(10, 10, 180, 100), 7);
    }
    dense.setDevicePixelRatio(1);
    EXPECT_LT(differingPixels(reference, dense), 40);
}

// Repeated paints come from a cache; a picture must never be served another's pixels.
TEST(MoneyPainting, RepeatedPaintsShowTheRightPicture) {
    const QRectF rect(10, 10, 180, 100);
    QPixmapCache::clear();
    std::vector<QImage> fresh;
    for (int picture = 1; picture <= scene_assets::kMoneyPictures; ++picture) {
        QPixmapCache::clear();
        fresh.push_back(painted(picture, rect));
    }
    for (int round = 0; round < 2; ++round) {
        for (int picture = 1; picture <= scene_assets::kMoneyPictures; ++picture) {
            EXPECT_EQ(painted(picture, rect), fresh[static_cast<std::size_t>(picture - 1)])
                << "picture " << picture << " round " << round;
        }
    }
    EXPECT_NE(fresh[0], fresh[1]);
}

}  // namespace
}  // namespace sumbrook
