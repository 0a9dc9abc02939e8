#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace sumbrook::testing {

// Compares pictures with the stored ones of a golden folder, or stores them again when
// SUMBROOK_UPDATE_GOLDEN=1 (tools/update-golden-pictures). On a failure the actual picture
// and a picture of the differing pixels go to golden-failures/ in the working directory.
class GoldenPictures {
  public:
    // A pixel differs when one of its channels is off by more than this; a picture matches
    // when no more than the given share of its pixels differ. Together they absorb the
    // antialiasing of glyph edges and nothing larger.
    static constexpr int kChannelTolerance = 40;
    static constexpr double kDifferingShare = 0.002;

    struct Comparison {
        int differing = 0;
        int worst = 0;
        QImage diff;
    };

    explicit GoldenPictures(QString dir) : dir_(std::move(dir)) {}

    static bool updating() {
        return qEnvironmentVariable("SUMBROOK_UPDATE_GOLDEN") == QStringLiteral("1");
    }

    static Comparison compare(const QImage& expected, const QImage& actual) {
        Comparison c;
        c.diff = QImage(actual.size(), QImage::Format_RGB32);
        c.diff.fill(Qt::white);
        for (int y = 0; y < actual.height(); ++y) {
            const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
            const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
            for (int x = 0; x < actual.width(); ++x) {
                const int d = std::max({std::abs(qRed(e[x]) - qRed(a[x])),
                                        std::abs(qGreen(e[x]) - qGreen(a[x])),
                                        std::abs(qBlue(e[x]) - qBlue(a[x]))});
                c.worst = std::max(c.worst, d);
                if (d > kChannelTolerance) {
                    ++c.differing;
                    c.diff.setPixel(x, y, qRgb(229, 57, 53));
                } else if (d > 0) {
                    c.diff.setPixel(x, y, qRgb(255, 224, 178));
                }
            }
        }
        return c;
    }

    // How far two pictures of the same thing differ, in pixels beyond the tolerance.
    static int differingPixels(const QImage& a, const QImage& b) {
        return compare(a.convertToFormat(QImage::Format_RGB32),
                       b.convertToFormat(QImage::Format_RGB32))
            .differing;
    }

    // `image` in at most 256 colours: its most frequent ones kept exactly (the flat faces of
    // widgets), each rarer one (the antialiased edges of text) put to the nearest kept one.
    static QImage paletted(const QImage& image) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        QHash<QRgb, qsizetype> counts;
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                ++counts[line[x]];
            }
        }
        QList<QRgb> colours = counts.keys();
        std::sort(colours.begin(), colours.end(), [&counts](QRgb a, QRgb b) {
            return counts.value(a) != counts.value(b) ? counts.value(a) > counts.value(b) : a < b;
        });
        colours.resize(std::min<qsizetype>(colours.size(), 256));
        QHash<QRgb, int> index;
        for (int i = 0; i < colours.size(); ++i) {
            index.insert(colours[i], i);
        }
        QImage out(rgb.size(), QImage::Format_Indexed8);
        out.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            uchar* to = out.scanLine(y);
            for (int x = 0; x < rgb.width(); ++x) {
                auto found = index.constFind(line[x]);
                if (found == index.constEnd()) {
                    int best = 0;
                    int bestDistance = INT_MAX;
                    for (int i = 0; i < colours.size(); ++i) {
                        const int dr = qRed(colours[i]) - qRed(line[x]);
                        const int dg = qGreen(colours[i]) - qGreen(line[x]);
                        const int db = qBlue(colours[i]) - qBlue(line[x]);
                        const int distance = dr * dr + dg * dg + db * db;
                        if (distance < bestDistance) {
                            best = i;
                            bestDistance = distance;
                        }
                    }
                    found = index.insert(line[x], best);
                }
                to[x] = static_cast<uchar>(*found);
            }
        }
        return out;
    }

    // Compares `picture` with the stored `name`.png, or stores it when updating. A picture
    // `inFewColours` is stored and compared paletted, which keeps pictures of widgets small.
    void expect(const QImage& picture, const QString& name, bool inFewColours = false) const {
        QImage actual = picture.convertToFormat(QImage::Format_RGB32);
        if (inFewColours) {
            actual = GoldenPictures::paletted(actual).convertToFormat(QImage::Format_RGB32);
        }
        const QString stored = dir_ + u'/' + name + QStringLiteral(".png");
        if (updating()) {
            QDir().mkpath(dir_);
            const QImage kept = inFewColours ? GoldenPictures::paletted(actual) : actual;
            ASSERT_TRUE(kept.save(stored, "PNG", 0)) << stored.toStdString();
            return;
        }
        const QImage expected = QImage(stored).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(expected.isNull())
            << "no stored picture " << stored.toStdString() << "; run tools/update-golden-pictures";
        ASSERT_EQ(expected.size(), actual.size()) << name.toStdString();
        const Comparison c = compare(expected, actual);
        const int allowed = static_cast<int>(actual.width() * actual.height() * kDifferingShare);
        if (c.differing > allowed) {
            QDir().mkpath(QStringLiteral("golden-failures"));
            actual.save(QStringLiteral("golden-failures/") + name + QStringLiteral(".actual.png"));
            c.diff.save(QStringLiteral("golden-failures/") + name + QStringLiteral(".diff.png"));
        }
        EXPECT_LE(c.differing, allowed)
            << name.toStdString() << ": " << c.differing << " pixels differ (worst channel "
            << c.worst << "); see golden-failures/" << name.toStdString()
            << ".actual.png and .diff.png in " << QDir::currentPath().toStdString();
    }

  private:
    QString dir_;
};

}  // namespace sumbrook::testing
