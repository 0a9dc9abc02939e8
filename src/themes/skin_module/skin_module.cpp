// The skin module: a shared library that the program carries as bytes and loads from memory.
// It exports the two skin entry points. A skin block is ".SHE", then, little-endian:
//   u32 version (1)
//   u32 length, then that many bytes of UTF-8 Qt style sheet
//   u32 count, then count entries of (u8 colour group, u8 colour role, u32 0xAARRGGBB)
// Attach applies the sheet and palette to the whole application; detach restores the look
// the application had before the first attach.
#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#define SUMBROOK_SKIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr std::uint32_t kVersion = 1;

enum Result : int { kOk = 0, kNoApplication = 1, kDamagedBlock = 2 };

struct Skin {
    QString styleSheet;
    std::vector<std::pair<std::pair<QPalette::ColorGroup, QPalette::ColorRole>, QRgb>> colours;
};

// Reads forward through a block and refuses every read past its end.
class Reader {
  public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::optional<std::uint32_t> u32() {
        if (size_ - at_ < 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= std::uint32_t{data_[at_ + i]} << (8 * i);
        }
        at_ += 4;
        return value;
    }
    std::optional<std::uint8_t> u8() {
        if (size_ - at_ < 1) {
            return std::nullopt;
        }
        return data_[at_++];
    }
    const unsigned char* bytes(std::size_t count) {
        if (size_ - at_ < count) {
            return nullptr;
        }
        const unsigned char* start = data_ + at_;
        at_ += count;
        return start;
    }
    bool atEnd() const { return at_ == size_; }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::optional<Skin> parseSkin(const unsigned char* block, int length) {
    if (block == nullptr || length < 4) {
        return std::nullopt;
    }
    Reader reader(block, static_cast<std::size_t>(length));
    const unsigned char* magic = reader.bytes(4);
    if (std::memcmp(magic, ".SHE", 4) != 0) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> version = reader.u32();
    if (version != kVersion) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> sheetLength = reader.u32();
    const unsigned char* sheet = sheetLength ? reader.bytes(*sheetLength) : nullptr;
    if (sheet == nullptr && (!sheetLength || *sheetLength != 0)) {
        return std::nullopt;
    }
    Skin skin;
    skin.styleSheet = QString::fromUtf8(reinterpret_cast<const char*>(sheet),
                                        static_cast<qsizetype>(sheetLength.value_or(0)));
    const std::optional<std::uint32_t> count = reader.u32();
    if (!count) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::optional<std::uint8_t> group = reader.u8();
        const std::optional<std::uint8_t> role = reader.u8();
        const std::optional<std::uint32_t> argb = reader.u32();
        if (!group || !role || !argb || *group >= QPalette::NColorGroups ||
            *role >= QPalette::NColorRoles || *role == QPalette::NoRole) {
            return std::nullopt;
        }
        skin.colours.push_back(
            {{static_cast<QPalette::ColorGroup>(*group), static_cast<QPalette::ColorRole>(*role)},
             static_cast<QRgb>(*argb)});
    }
    if (!reader.atEnd()) {
        return std::nullopt;
    }
    return skin;
}

// Qt hands a new application palette to the existing widgets only once its event loop runs;
// the look is meant to change at once, also when called before the loop starts, so every
// widget is told now (telling it twice is harmless).
void spreadPalette() {
    const auto widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        QEvent change(QEvent::ApplicationPaletteChange);
        QCoreApplication::sendEvent(widget, &change);
    }
}

// The application's look before the first attach; held until a detach restores it.
struct SystemLook {
    QString styleSheet;
    QPalette palette;
};
std::optional<SystemLook>& systemLook() {
    static std::optional<SystemLook> look;
    return look;
}

}  // namespace

SUMBROOK_SKIN_EXPORT int SkinH_AttachRes(const unsigned char* block, int length,
                                         const char* /*text*/, int, int, int) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return kNoApplication;
    }
    const std::optional<Skin> skin = parseSkin(block, length);
    if (!skin) {
        return kDamagedBlock;
    }
    if (!systemLook()) {
        systemLook() = SystemLook{app->styleSheet(), QApplication::palette()};
    }
    // Each skin starts from the system palette, so colours of an earlier skin do not linger.
    QPalette palette = systemLook()->palette;
    for (const auto& [where, argb] : skin->colours) {
        palette.setColor(where.first, where.second, QColor::fromRgba(argb));
    }
    // The palette first: a style sheet set later polishes the widgets against it.
    QApplication::setPalette(palette);
    app->setStyleSheet(skin->styleSheet);
    spreadPalette();
    return kOk;
}

SUMBROOK_SKIN_EXPORT int SkinH_Detach() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return kNoApplication;
    }
    if (systemLook()) {
        QApplication::setPalette(systemLook()->palette);
        app->setStyleSheet(systemLook()->styleSheet);
        spreadPalette();
        systemLook().reset();
    }
    return kOk;
}
