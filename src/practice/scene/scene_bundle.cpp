#include "scene_bundle.h"

#include <QResource>
#include <QtEndian>
#include <cstdint>
#include <deque>
#include <vector>

#include "scene_assets.h"

namespace sumbrook {

namespace {

// The binary resource format (rcc --binary): a header "qres", version, and the offsets
// of the tree, the file data and the names; version 3 adds feature flags. Tree nodes are
// 14 bytes (22 from version 2, with a modification time); names are a 16-bit length, a
// 32-bit hash and UTF-16 text; file data is a 32-bit length and the bytes, which for a
// zlib-compressed file begin with the 32-bit unpacked length.
constexpr quint16 kCompressed = 0x01;
constexpr quint16 kDirectory = 0x02;

class Reader {
  public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
    qint64 size() const { return bytes_.size(); }
    bool has(qint64 at, qint64 length) const {
        return at >= 0 && length >= 0 && at <= size() && length <= size() - at;
    }
    quint32 u32(qint64 at) const { return qFromBigEndian<quint32>(bytes_.data() + at); }
    quint16 u16(qint64 at) const { return qFromBigEndian<quint16>(bytes_.data() + at); }

  private:
    QByteArrayView bytes_;
};

}  // namespace

bool SceneBundle::isValid(QByteArrayView bytes) {
    const Reader in(bytes);
    if (in.size() > INT32_MAX || !in.has(0, 20) || bytes.first(4) != QByteArrayView("qres")) {
        return false;
    }
    const quint32 version = in.u32(4);
    const qint64 tree = in.u32(8);
    const qint64 data = in.u32(12);
    const qint64 names = in.u32(16);
    if (version < 1 || version > 3) {
        return false;
    }
    if (version >= 3 && (!in.has(20, 4) || (in.u32(20) & ~quint32{kCompressed}) != 0)) {
        return false;  // zstd, or a feature this build does not know
    }
    const qint64 nodeSize = version >= 2 ? 22 : 14;
    if (!in.has(tree, nodeSize) || !in.has(data, 0) || !in.has(names, 0)) {
        return false;
    }

    const qint64 maxNodes = (in.size() - tree) / nodeSize;
    std::vector<bool> seen(static_cast<std::size_t>(maxNodes), false);
    std::deque<qint64> pending{0};
    seen[0] = true;
    while (!pending.empty()) {
        const qint64 node = pending.front();
        pending.pop_front();
        const qint64 at = tree + node * nodeSize;
        const quint16 flags = in.u16(at + 4);
        if (node != 0) {
            const qint64 name = names + in.u32(at);
            if (!in.has(name, 6) || !in.has(name + 6, 2 * qint64{in.u16(name)})) {
                return false;
            }
        }
        if ((flags & kDirectory) != 0) {
            if (flags != kDirectory) {
                return false;
            }
            const qint64 count = in.u32(at + 6);
            const qint64 first = in.u32(at + 10);
            // Children always come after their directory, so the tree cannot loop.
            if (count > maxNodes || first <= node || first > maxNodes - count) {
                return false;
            }
            for (qint64 child = first; child < first + count; ++child) {
                if (!seen[static_cast<std::size_t>(child)]) {
                    seen[static_cast<std::size_t>(child)] = true;
                    pending.push_back(child);
                }
            }
            continue;
        }
        if (node == 0 || (flags & ~kCompressed) != 0) {
            return false;  // the root must be a directory; zstd files are not accepted
        }
        const qint64 file = data + in.u32(at + 10);
        if (!in.has(file, 4) || !in.has(file + 4, in.u32(file))) {
            return false;
        }
        if ((flags & kCompressed) != 0 &&
            (in.u32(file) < 4 || in.u32(file + 4) > kMaxUnpackedFile)) {
            return false;
        }
    }
    return true;
}

SceneBundle::SceneBundle(QByteArray bytes) : bytes_(std::move(bytes)) {
    if (isValid(bytes_)) {
        registered_ = QResource::registerResource(
            reinterpret_cast<const uchar*>(bytes_.constData()), scene_assets::bundleRoot());
    }
}

SceneBundle::~SceneBundle() {
    if (registered_) {
        QResource::unregisterResource(reinterpret_cast<const uchar*>(bytes_.constData()),
                                      scene_assets::bundleRoot());
    }
}

}  // namespace sumbrook
