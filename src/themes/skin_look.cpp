#include "themes/skin_look.h"

#include <QtEndian>

namespace sumbrook {

namespace {

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
        if (group >= QPalette::NColorGroups || role >= QPalette::NColorRoles ||
            role == QPalette::NoRole) {
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
