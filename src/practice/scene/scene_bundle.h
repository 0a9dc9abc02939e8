#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace sumbrook {

// The practice scene's art and sounds for as long as this object lives: a binary Qt
// resource bundle registered as the root the scene draws and plays from (scene_assets.h
// spells the paths below it). Qt trusts every offset inside a registered bundle, so the
// bytes are checked first and a damaged bundle is never registered. Each file keeps its
// own compression and is unpacked only when opened, so registering costs no decompression.
// It does not copy: the bytes are shared and kept until the registration ends.
class SceneBundle {
  public:
    // Files larger than this once unpacked make a bundle invalid.
    static constexpr qint64 kMaxUnpackedFile = 64 * 1024 * 1024;

    explicit SceneBundle(QByteArray bytes);
    ~SceneBundle();
    SceneBundle(const SceneBundle&) = delete;
    SceneBundle& operator=(const SceneBundle&) = delete;

    // False when the bytes were not a valid bundle, or Qt refused them.
    bool isRegistered() const { return registered_; }

    // True when every node, name and file of the bundle lies inside `bytes`, the tree has
    // no cycles, and its files are stored plainly or zlib-compressed.
    static bool isValid(QByteArrayView bytes);

  private:
    QByteArray bytes_;
    bool registered_ = false;
};

}  // namespace sumbrook
