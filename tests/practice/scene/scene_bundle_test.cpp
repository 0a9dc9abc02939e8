// The movie as a resource bundle: the embedded one registers without copying or unpacking,
// and damaged bundles are refused before Qt, which trusts every offset, ever sees them.
#include "practice/scene/scene_bundle.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QResource>
#include <QtEndian>
#include <random>

#include "moviehost/movie_bytes.h"
#include "practice/scene/scene_assets.h"

namespace sumbrook {
namespace {

quint32 field(const QByteArray& bytes, int at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

QByteArray withField(QByteArray bytes, int at, quint32 value) {
    qToBigEndian(value, bytes.data() + at);
    return bytes;
}

// Reads every file under the scene's root; the number read.
int readEveryFile() {
    int files = 0;
    QDirIterator it(u':' + scene_assets::bundleRoot(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly)) {
            file.readAll();
            ++files;
        }
    }
    return files;
}

TEST(SceneBundle, TheEmbeddedMovieRegistersWithoutCopyingOrUnpackingAndGoesAway) {
    const QByteArray movie = movieBytes();
    ASSERT_TRUE(movie.startsWith("qres"));
    {
        const SceneBundle bundle(movie);
        ASSERT_TRUE(bundle.isRegistered());
        const QResource song(scene_assets::soundPath(QStringLiteral("111.mp3")));
        ASSERT_TRUE(song.isValid());
        const auto* begin = reinterpret_cast<const uchar*>(movie.constData());
        EXPECT_TRUE(song.data() >= begin && song.data() < begin + movie.size())
            << "the bundle was copied";
        // Art is packed file by file, so only what is opened is ever unpacked.
        const QResource picture(scene_assets::moneyPath(7));
        EXPECT_EQ(picture.compressionAlgorithm(), QResource::ZlibCompression);
        EXPECT_GT(picture.uncompressedSize(), picture.size());
        EXPECT_EQ(readEveryFile(), 19 + scene_assets::kMoneyPictures) << "19 sounds and the money";
    }
    EXPECT_FALSE(QFile::exists(scene_assets::moneyPath(7)));
}

TEST(SceneBundle, DamagedHeadersAndCutBundlesAreRefused) {
    const QByteArray movie = movieBytes();
    const qsizetype size = movie.size();
    QByteArray renamed = movie;
    renamed[0] = 'Q';
    struct Row {
        const char* what;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"nothing", {}},
        {"another format", QByteArray("CWS\x08") + movie.mid(4)},
        {"another magic", renamed},
        {"version 0", withField(movie, 4, 0)},
        {"version 4", withField(movie, 4, 4)},
        {"zstd announced", withField(movie, 20, 4)},
        {"tree past the end", withField(movie, 8, quint32(size))},
        {"data past the end", withField(movie, 12, quint32(size + 1))},
        {"names past the end", withField(movie, 16, 0xFFFFFFF0u)},
        {"cut inside the header", movie.first(19)},
        {"cut after the header", movie.first(24)},
        {"cut in half", movie.first(size / 2)},
        {"one byte short", movie.first(size - 1)},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(SceneBundle::isValid(row.bytes)) << row.what;
        const SceneBundle bundle(row.bytes);
        EXPECT_FALSE(bundle.isRegistered()) << row.what;
    }
}

// Random damage to the tree and the names, where every offset lives: whatever is accepted
// can be registered and read whole without reaching outside the bytes.
TEST(SceneBundle, RandomDamageIsRefusedOrHarmless) {
    const QByteArray movie = movieBytes();
    const quint32 start = std::min(field(movie, 8), field(movie, 16));
    std::mt19937 random(20240611);
    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 150; ++round) {
        QByteArray damaged = movie;
        damaged.detach();
        std::uniform_int_distribution<qsizetype> where(start, damaged.size() - 4);
        const int changes = 1 + round % 4;
        for (int k = 0; k < changes; ++k) {
            const qsizetype at = where(random);
            if (round % 2 == 0) {
                damaged[at] = static_cast<char>(random());
            } else {
                qToBigEndian(static_cast<quint32>(random()), damaged.data() + at);
            }
        }
        if (!SceneBundle::isValid(damaged)) {
            ++refused;
            continue;
        }
        ++accepted;
        const SceneBundle bundle(damaged);
        ASSERT_TRUE(bundle.isRegistered()) << "round " << round;
        readEveryFile();
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace sumbrook
