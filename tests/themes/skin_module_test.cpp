// The skin module, built by us, embedded as bytes and loaded from memory on this machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPalette>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "themes/memory_module.h"
#include "themes/module_skin.h"
#include "themes/refusing_module_platform.h"
#include "themes/skin_block.h"
#include "themes/skin_module_bytes.h"

namespace sumbrook {
namespace {

using AttachFunction = int (*)(const unsigned char*, int, const char*, int, int, int);
using DetachFunction = int (*)();

std::span<const std::uint8_t> asSpan(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

struct Colour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb argb;
};

std::vector<unsigned char> makeBlock(const std::string& sheet, const std::vector<Colour>& colours) {
    std::vector<unsigned char> block{'.', 'S', 'H', 'E'};
    put32(block, 1);
    put32(block, static_cast<std::uint32_t>(sheet.size()));
    block.insert(block.end(), sheet.begin(), sheet.end());
    put32(block, static_cast<std::uint32_t>(colours.size()));
    for (const Colour& c : colours) {
        block.push_back(static_cast<unsigned char>(c.group));
        block.push_back(static_cast<unsigned char>(c.role));
        put32(block, c.argb);
    }
    return block;
}

const std::string kSheet = "QPushButton { background-color: #c08020; }";
const QRgb kWindow = 0xFF336699;

class SkinModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = std::make_unique<MemoryModule>(platform_);
        ASSERT_TRUE(module_->Load(asSpan(skinModuleBytes()))) << module_->LastError();
        attach_ = reinterpret_cast<AttachFunction>(module_->FindExport("SkinH_AttachRes"));
        detach_ = reinterpret_cast<DetachFunction>(module_->FindExport("SkinH_Detach"));
        ASSERT_NE(attach_, nullptr);
        ASSERT_NE(detach_, nullptr);
        systemSheet_ = qApp->styleSheet();
        systemPalette_ = QApplication::palette();
    }
    void TearDown() override {
        if (detach_ != nullptr) {
            detach_();
        }
        module_.reset();
    }
    int attach(const std::vector<unsigned char>& block) {
        return attach_(block.data(), static_cast<int>(block.size()), nullptr, 0, 0, 0);
    }
    void expectSystemLook(const QWidget& widget) {
        EXPECT_EQ(qApp->styleSheet(), systemSheet_);
        EXPECT_EQ(QApplication::palette(), systemPalette_);
        EXPECT_EQ(widget.palette().color(QPalette::Window), systemPalette_.color(QPalette::Window));
    }

    RefusingModulePlatform platform_;
    std::unique_ptr<MemoryModule> module_;
    AttachFunction attach_ = nullptr;
    DetachFunction detach_ = nullptr;
    QString systemSheet_;
    QPalette systemPalette_;
};

// --- Loading from memory ---------------------------------------------------------------

TEST(SkinModuleLoading, EmbeddedBytesLoadFromAMemoryFileNotFromDisk) {
    const QByteArray bytes = skinModuleBytes();
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(bytes.left(4), QByteArray("\x7f"
                                        "ELF"));

    RefusingModulePlatform platform;
    MemoryModule module(platform);
    ASSERT_TRUE(module.Load(asSpan(bytes))) << module.LastError();
    EXPECT_NE(module.FindExport("SkinH_AttachRes"), 0u);
    EXPECT_NE(module.FindExport("SkinH_Detach"), 0u);
    EXPECT_EQ(module.FindExport("parseSkin"), 0u);  // internals stay hidden
    EXPECT_EQ(module.BaseAddress(), 0u);
    EXPECT_NE(module.ElfBaseAddress(), 0u);

    // The mapping of the loaded object names a memory file, never a path on disk.
    QFile maps("/proc/self/maps");
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray text = maps.readAll();
    EXPECT_TRUE(text.contains("/memfd:sumbrook-module")) << text.constData();
    EXPECT_FALSE(text.contains("libsumbrook_skin"));

    EXPECT_TRUE(module.Unload());
    EXPECT_EQ(module.FindExport("SkinH_Detach"), 0u);
    EXPECT_EQ(module.ElfBaseAddress(), 0u);
}

TEST(SkinModuleLoading, MovedModuleKeepsTheObjectAndTheSourceHoldsNothing) {
    RefusingModulePlatform platform;
    MemoryModule first(platform);
    ASSERT_TRUE(first.Load(asSpan(skinModuleBytes()))) << first.LastError();
    MemoryModule second(std::move(first));
    EXPECT_EQ(first.FindExport("SkinH_Detach"), 0u);  // NOLINT(bugprone-use-after-move)
    EXPECT_NE(second.FindExport("SkinH_Detach"), 0u);
}

TEST(SkinModuleLoading, BytesThatAreNeitherPeNorElfAreRefusedWithAReason) {
    RefusingModulePlatform platform;
    MemoryModule module(platform);
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    QByteArray otherClass = skinModuleBytes().left(64);
    otherClass[4] = otherClass[4] == 1 ? 2 : 1;  // ELFCLASS32 <-> ELFCLASS64
    const Case cases[] = {
        {"empty", QByteArray(), "neither a PE image nor an ELF"},
        {"text", QByteArray("hello, world"), "neither a PE image nor an ELF"},
        {"skin block", QByteArray(".SHE\x01\0\0\0", 8), "neither a PE image nor an ELF"},
        {"magic only",
         QByteArray("\x7f"
                    "ELF"),
         "not a shared object of this machine"},
        {"other class", otherClass, "not a shared object of this machine"},
        {"truncated object", skinModuleBytes().left(200), "cannot load ELF object"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(module.Load(asSpan(c.bytes))) << c.name;
        EXPECT_NE(module.LastError().find(c.reason), std::string::npos)
            << c.name << ": " << module.LastError();
        EXPECT_EQ(module.FindExport("SkinH_Detach"), 0u) << c.name;
    }
}

// --- Attach and detach -----------------------------------------------------------------

TEST_F(SkinModuleTest, AttachChangesTheWholeApplicationAtOnceAndDetachRestoresIt) {
    QWidget widget;
    const auto block = makeBlock(kSheet, {{QPalette::Active, QPalette::Window, kWindow},
                                          {QPalette::Inactive, QPalette::Window, kWindow}});
    EXPECT_EQ(attach(block), 0);
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(kSheet));
    EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Window), QColor(kWindow));
    EXPECT_EQ(widget.palette().color(QPalette::Active, QPalette::Window), QColor(kWindow));

    EXPECT_EQ(detach_(), 0);
    expectSystemLook(widget);
}

TEST_F(SkinModuleTest, SecondSkinReplacesTheFirstAndDetachStillRestoresTheSystemLook) {
    QWidget widget;
    EXPECT_EQ(attach(makeBlock(kSheet, {{QPalette::Active, QPalette::Window, kWindow}})), 0);
    EXPECT_EQ(attach(makeBlock("QLabel { color: red; }",
                               {{QPalette::Active, QPalette::Button, 0xFF00FF00}})),
              0);
    EXPECT_EQ(qApp->styleSheet(), QString("QLabel { color: red; }"));
    // Colours of the first skin do not linger under the second.
    EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Window),
              systemPalette_.color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Button),
              QColor(0xFF00FF00));

    EXPECT_EQ(detach_(), 0);
    expectSystemLook(widget);
    EXPECT_EQ(detach_(), 0);  // a second detach keeps the system look
    expectSystemLook(widget);
}

TEST_F(SkinModuleTest, EmptySheetAndNoColoursIsAValidSkin) {
    QWidget widget;
    EXPECT_EQ(attach(makeBlock("", {})), 0);
    EXPECT_EQ(detach_(), 0);
    expectSystemLook(widget);
}

// --- Damaged blocks ----------------------------------------------------------------------

TEST_F(SkinModuleTest, DamagedBlocksChangeNothing) {
    QWidget widget;
    const auto good = makeBlock(kSheet, {{QPalette::Active, QPalette::Window, kWindow},
                                         {QPalette::Disabled, QPalette::Text, 0xFF112233}});
    // Every proper prefix, copied so that a read past it is caught by the sanitizer.
    for (std::size_t length = 0; length < good.size(); ++length) {
        const std::vector<unsigned char> cut(good.begin(), good.begin() + length);
        EXPECT_NE(attach_(cut.data(), static_cast<int>(length), nullptr, 0, 0, 0), 0) << length;
        expectSystemLook(widget);
    }

    const auto withByte = [&](std::size_t at, unsigned char value) {
        auto copy = good;
        copy[at] = value;
        return copy;
    };
    const auto withWord = [&](std::size_t at, std::uint32_t value) {
        auto copy = good;
        for (int i = 0; i < 4; ++i) {
            copy[at + i] = static_cast<unsigned char>(value >> (8 * i));
        }
        return copy;
    };
    const std::size_t countAt = 12 + kSheet.size();
    struct Case {
        const char* name;
        std::vector<unsigned char> block;
    };
    auto trailing = good;
    trailing.push_back(0);
    const Case cases[] = {
        {"wrong magic", withByte(0, 'X')},
        {"wrong version", withWord(4, 2)},
        {"huge sheet length", withWord(8, 0xFFFFFFFF)},
        {"sheet length one past", withWord(8, static_cast<std::uint32_t>(kSheet.size() + 1))},
        {"huge colour count", withWord(countAt, 0xFFFFFFFF)},
        {"colour group out of range", withByte(countAt + 4, QPalette::NColorGroups)},
        {"colour role out of range", withByte(countAt + 5, QPalette::NColorRoles)},
        {"trailing byte", trailing},
    };
    for (const Case& c : cases) {
        EXPECT_NE(attach(c.block), 0) << c.name;
        expectSystemLook(widget);
    }
    EXPECT_NE(attach_(nullptr, 100, nullptr, 0, 0, 0), 0);
    EXPECT_NE(attach_(good.data(), -1, nullptr, 0, 0, 0), 0);
    expectSystemLook(widget);
}

TEST_F(SkinModuleTest, DamagedBlockWhileASkinIsAttachedKeepsThatSkin) {
    EXPECT_EQ(attach(makeBlock(kSheet, {{QPalette::Active, QPalette::Window, kWindow}})), 0);
    const QPalette skinned = QApplication::palette();
    auto damaged = makeBlock("QLabel {}", {});
    damaged[0] = 'x';
    EXPECT_NE(attach(damaged), 0);
    EXPECT_EQ(qApp->styleSheet(), QString::fromStdString(kSheet));
    EXPECT_EQ(QApplication::palette(), skinned);
}

}  // namespace
}  // namespace sumbrook

namespace sumbrook {

// --- The themes' seam over the loaded module ----------------------------------------------

TEST_F(SkinModuleTest, ModuleSkinReachesTheLoadedModuleAndDoesNothingWithoutIt) {
    QWidget widget;
    ModuleSkin skin(*module_);
    EXPECT_TRUE(skin.attach(skinBlock(5)));
    EXPECT_NE(qApp->styleSheet(), systemSheet_);
    skin.detach();
    expectSystemLook(widget);

    // A damaged block is refused by the module; the look stays as it was.
    EXPECT_FALSE(skin.attach(QByteArray(".SHE", 4)));
    expectSystemLook(widget);

    MemoryModule empty(platform_);
    ModuleSkin withoutModule(empty);
    EXPECT_FALSE(withoutModule.attach(skinBlock(5)));
    withoutModule.detach();
    expectSystemLook(widget);
}

}  // namespace sumbrook
