#include "themes/skin_block.h"

#include <QtEndian>
#include <cstddef>

namespace sumbrook::embedded {
extern const unsigned char kSilverSkin[];
extern const std::size_t kSilverSkinSize;
extern const unsigned char kGreySkin[];
extern const std::size_t kGreySkinSize;
extern const unsigned char kBlackSkin[];
extern const std::size_t kBlackSkinSize;
extern const unsigned char kSpringSkin[];
extern const std::size_t kSpringSkinSize;
extern const unsigned char kAutumnSkin[];
extern const std::size_t kAutumnSkinSize;
extern const unsigned char kBlueSkin[];
extern const std::size_t kBlueSkinSize;
extern const unsigned char kPurpleSkin[];
extern const std::size_t kPurpleSkinSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

namespace {

QByteArray raw(const unsigned char* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
    bool u8(quint8& value) {
        if (bytes_.size() - at_ < 1) {
            return false;
        }
        value = static_cast<quint8>(bytes_[at_++]);
        return true;
    }
    bool u32(quint32& value) {
        if (bytes_.size() - at_ < 4) {
            return false;
        }
        value = qFromLittleEndian<quint32>(bytes_.constData() + at_);
        at_ += 4;
        return true;
    }
    bool take(quint32 length, QByteArray& out) {
        if (static_cast<quint64>(bytes_.size() - at_) < length) {
            return false;
        }
        out = bytes_.mid(at_, length);
        at_ += length;
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

  private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

}  // namespace

QByteArray skinBlock(int row) {
    using namespace embedded;
    switch (row) {
        case 1:
            return raw(kSilverSkin, kSilverSkinSize);
        case 2:
            return raw(kGreySkin, kGreySkinSize);
        case 3:
            return raw(kBlackSkin, kBlackSkinSize);
        case 4:
            return raw(kSpringSkin, kSpringSkinSize);
        case 5:
            return raw(kAutumnSkin, kAutumnSkinSize);
        case 6:
            return raw(kBlueSkin, kBlueSkinSize);
        case 7:
            return raw(kPurpleSkin, kPurpleSkinSize);
        default:
            return {};
    }
}

QPalette SkinLook::paletteOver(const QPalette& base) const {
    QPalette result = base;
    for (const Entry& entry : entries) {
        result.setColor(entry.group, entry.role, QColor::fromRgba(entry.colour));
    }
    return result;
}

std::optional<SkinLook> parseSkinBlock(const QByteArray& block) {
    if (!block.startsWith(QByteArrayLiteral(".SHE"))) {
        return std::nullopt;
    }
    const QByteArray body = block.mid(4);
    Reader reader(body);
    quint32 version = 0;
    quint32 length = 0;
    QByteArray sheet;
    if (!reader.u32(version) || version != 1 || !reader.u32(length) ||
        !reader.take(length, sheet)) {
        return std::nullopt;
    }
    SkinLook look;
    look.styleSheet = QString::fromUtf8(sheet);
    quint32 count = 0;
    if (!reader.u32(count) || count > static_cast<quint32>(body.size()) / 6) {
        return std::nullopt;
    }
    for (quint32 i = 0; i < count; ++i) {
        quint8 group = 0;
        quint8 role = 0;
        quint32 colour = 0;
        if (!reader.u8(group) || !reader.u8(role) || !reader.u32(colour)) {
            return std::nullopt;
        }
        if (group > QPalette::Inactive || role >= QPalette::NColorRoles) {
            return std::nullopt;
        }
        look.entries.append({static_cast<QPalette::ColorGroup>(group),
                             static_cast<QPalette::ColorRole>(role), colour});
    }
    if (!reader.atEnd()) {
        return std::nullopt;
    }
    return look;
}

}  // namespace sumbrook
