#include "themes/memory_module.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/synthetic_pe_image.h"

namespace sumbrook {
namespace {

using Address = ModulePlatform::Address;
using Reason = ModulePlatform::EntryReason;
using namespace sumbrook::pe_sample;  // NOLINT(google-build-using-namespace)

// Records every platform call; serves host memory under addresses of its choosing, for
// images of one machine.
class FakePlatform : public ModulePlatform {
  public:
    struct EntryCall {
        Address entry, base;
        Reason reason;
        bool operator==(const EntryCall&) const = default;
    };

    explicit FakePlatform(const Layout& layout = kPe32Layout)
        : machine_(layout.machine),
          fallbackAddress(layout.width == 8 ? 0x7FF612340000 : 0x30000000),
          procedures{{"user32.dll!GetDC", layout.high + kGetDC},
                     {"user32.dll#17", layout.high + kUserOrdinal17},
                     {"kernel32.dll!Sleep", layout.high + kSleep}} {}

    std::uint16_t machine() const override { return machine_; }
    Block allocate(Address hint, std::uint32_t size) override {
        allocations.emplace_back(hint, size);
        if (refuseAll || (refuseHint && hint != 0)) {
            return {};
        }
        auto& block = live.emplace_back(std::make_unique<Bytes>(size));
        address = hint != 0 ? hint : fallbackAddress;
        return {block->data(), address};
    }
    bool free(const Block& block) override {
        ++frees;
        if (failFree) {
            return false;
        }
        const auto before = live.size();
        std::erase_if(live, [&](const auto& b) { return b->data() == block.data; });
        return live.size() != before;
    }
    LibraryHandle loadLibrary(std::string_view name) override {
        libraries.emplace_back(name);
        if (missingLibraries.contains(std::string(name))) {
            return nullptr;
        }
        return reinterpret_cast<LibraryHandle>(static_cast<std::uintptr_t>(libraries.size()));
    }
    Address findProcedure(LibraryHandle library, const Procedure& procedure) override {
        std::string key = libraries.at(reinterpret_cast<std::uintptr_t>(library) - 1);
        if (const auto* name = std::get_if<std::string_view>(&procedure)) {
            key.append("!").append(*name);
        } else {
            key.append("#").append(std::to_string(std::get<std::uint16_t>(procedure)));
        }
        lookups.push_back(key);
        const auto found = procedures.find(key);
        return found == procedures.end() ? 0 : found->second;
    }
    int callEntryPoint(Address entry, Address base, Reason reason) override {
        entryCalls.push_back({entry, base, reason});
        if (reason == Reason::ProcessAttach && onAttach) {
            onAttach();
        }
        return reason == Reason::ProcessAttach ? attachResult : 1;
    }
    Bytes& block() { return *live.at(0); }

  private:
    std::uint16_t machine_;

  public:
    bool refuseHint = false, refuseAll = false, failFree = false;
    Address fallbackAddress, address = 0;
    int attachResult = 1, frees = 0;
    std::function<void()> onAttach;
    std::set<std::string> missingLibraries;
    std::map<std::string, Address> procedures;
    std::vector<std::pair<Address, std::uint32_t>> allocations;
    std::vector<std::unique_ptr<Bytes>> live;
    std::vector<std::string> libraries, lookups;
    std::vector<EntryCall> entryCalls;
};

// Every case runs over both forms of the image, each on a platform of its own machine.
class MemoryModuleTest : public ::testing::TestWithParam<Format> {
  protected:
    const Layout& layout() const { return layoutOf(GetParam()); }
    SyntheticImage image() const { return makeImage(GetParam()); }
    Address preferred() const { return layout().preferredBase; }
    std::uint32_t sections() const { return sectionsOf(layout()); }
    std::uint32_t directory(int index) const { return directoryOf(layout(), index); }
};

// The image as it must look once mapped at `base`: relocated and bound.
Bytes expectedMapping(const SyntheticImage& image, Address base) {
    SyntheticImage mapped = image;
    const Layout& l = image.layout;
    std::fill(mapped.memory.begin() + sectionsOf(l) + 80, mapped.memory.begin() + 0x200, 0);
    const Address delta = base - l.preferredBase;
    for (const std::uint32_t rva : {kRelocated1, kRelocated2, kRelocated3}) {
        mapped.putWide(rva, mapped.getWide(rva) + delta);
    }
    mapped.putWide(kUserIat, l.high + kGetDC);
    mapped.putWide(kUserIat + l.width, l.high + kUserOrdinal17);
    mapped.putWide(kKernelIat, l.high + kSleep);
    return mapped.memory;
}

TEST_P(MemoryModuleTest, MapsRelocatesAndBindsBeforeTheAttachCall) {
    // Preferred base (delta 0), above it, and below it (the delta wraps around).
    const Address elsewhere[2][2] = {{0x30000000, 0x00400000}, {0x7FF612340000, 0x10000}};
    const auto& [above, below] = elsewhere[GetParam() == Format::Pe32 ? 0 : 1];
    for (const Address base : {preferred(), above, below}) {
        SCOPED_TRACE(base);
        FakePlatform platform(layout());
        platform.refuseHint = base != preferred();
        platform.fallbackAddress = base;
        Bytes atAttach;
        platform.onAttach = [&] { atAttach = platform.block(); };
        sumbrook::MemoryModule module(platform);
        const SyntheticImage sample = image();
        ASSERT_TRUE(module.Load(sample.file())) << module.LastError();

        EXPECT_EQ(module.BaseAddress(), base);
        EXPECT_EQ(module.EntryPoint(), base + kEntry);
        EXPECT_EQ(platform.allocations.back(),
                  std::make_pair(base == preferred() ? preferred() : Address{0}, kImageSize));
        EXPECT_EQ(
            platform.entryCalls,
            (std::vector<FakePlatform::EntryCall>{{base + kEntry, base, Reason::ProcessAttach}}));
        EXPECT_EQ(atAttach, expectedMapping(sample, base));
        EXPECT_EQ(platform.libraries, (std::vector<std::string>{"user32.dll", "kernel32.dll"}));
    }
}

TEST_P(MemoryModuleTest, TheMappingCoversEverySectionsWholeSizeInMemory) {
    // .data holds 0x600 bytes on disk but 0x11000 in memory (zero-filled beyond), while the
    // header's SizeOfImage says 0x3000: the block must reach 0x13000, not stop at a size
    // counted from the low 16 bits of the section's size.
    SyntheticImage sample = image();
    sample.put32(sections() + 40 + 8, 0x11000);
    FakePlatform platform(layout());
    sumbrook::MemoryModule module(platform);
    ASSERT_TRUE(module.Load(sample.file())) << module.LastError();
    EXPECT_EQ(platform.allocations.back(), std::make_pair(preferred(), 0x13000u));
    EXPECT_EQ(platform.block().size(), 0x13000u);
}

TEST_P(MemoryModuleTest, FindsExportsByNameAndByCanonicalOrdinalText) {
    FakePlatform platform(layout());
    platform.refuseHint = true;
    sumbrook::MemoryModule module(platform);
    EXPECT_EQ(module.FindExport("SkinH_Detach"), 0u);  // nothing held yet
    EXPECT_EQ(module.FindExport("5"), 0u);
    ASSERT_TRUE(module.Load(image().file())) << module.LastError();
    const Address base = platform.fallbackAddress;

    const struct {
        const char* text;
        std::uint32_t rva;  // 0: not found
    } cases[] = {
        {"SkinH_AttachRes", 0x1100},
        {"SkinH_Detach", 0x1200},
        {"5", 0x1100},
        {"6", 0x1200},
        {"7", 0x1300},
        {"8", 0},  // empty slot
        {"4", 0},
        {"9", 0},
        {"0", 0},
        {"05", 0},
        {"+5", 0},
        {"65541", 0},       // 5 + 2^16
        {"4294967301", 0},  // 5 + 2^32
        {"skinh_detach", 0},
        {"SkinH_Detac", 0},
        {"SkinH_DetachX", 0},
        {"", 0},
        {"skin.dll", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(module.FindExport(c.text), c.rva == 0 ? 0 : base + c.rva) << c.text;
    }
}

TEST_P(MemoryModuleTest, ExportLookupDoesNotDependOnNameLayoutAndSkipsForwarders) {
    SyntheticImage sample = image();
    sample.put32(kNames, 0x2360);  // names stored in the opposite order of the table
    sample.put32(kNames + 4, 0x2350);
    sample.putText(0x2350, std::string_view("SkinH_Detach\0\0\0", 16));
    sample.putText(0x2360, "SkinH_AttachRes");
    sample.put32(kFunctions + 8, 0x2380);  // ordinal 7 forwards to a text in the directory
    FakePlatform platform(layout());
    sumbrook::MemoryModule module(platform);
    ASSERT_TRUE(module.Load(sample.file())) << module.LastError();
    EXPECT_EQ(module.FindExport("SkinH_AttachRes"), preferred() + 0x1100);
    EXPECT_EQ(module.FindExport("SkinH_Detach"), preferred() + 0x1200);
    EXPECT_EQ(module.FindExport("7"), 0u);
}

TEST_P(MemoryModuleTest, ExportTableSpoiledAfterLoadGivesZeroNotAnOverrun) {
    const struct {
        const char* name;
        std::uint32_t rva, value;
    } cases[] = {
        {"name count", kExports + 24, 0x7FFFFFFF},
        {"function count", kExports + 20, 0x7FFFFFFF},
        {"name rva", kNames + 4, 0xFFFFFFF0},
        {"function rva", kFunctions + 4, 0x00FFFFFF},
    };
    for (const auto& c : cases) {
        FakePlatform platform(layout());
        sumbrook::MemoryModule module(platform);
        ASSERT_TRUE(module.Load(image().file())) << module.LastError();
        Bytes& mapped = platform.block();
        for (int i = 0; i < 4; ++i) {
            mapped[c.rva + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
        }
        EXPECT_EQ(module.FindExport("SkinH_Detach"), 0u) << c.name;
    }
}

TEST_P(MemoryModuleTest, EntryPointCallsFollowTheImageKind) {
    using Calls = std::vector<Reason>;
    const struct {
        const char* name;
        std::uint16_t characteristics;
        std::uint32_t entry;
        Calls calls;  // over Load then Unload
    } cases[] = {
        {"dll", 0x2102, kEntry, {Reason::ProcessAttach, Reason::ProcessDetach}},
        {"executable", 0x0102, kEntry, {}},
        {"dll without entry point", 0x2102, 0, {}},
    };
    for (const auto& c : cases) {
        SyntheticImage sample = image();
        sample.put16(kFileHeader + 18, c.characteristics);
        sample.put32(kOptional + 16, c.entry);
        FakePlatform platform(layout());
        sumbrook::MemoryModule module(platform);
        ASSERT_TRUE(module.Load(sample.file())) << c.name << ": " << module.LastError();
        EXPECT_TRUE(module.Unload());
        Calls calls;
        for (const auto& call : platform.entryCalls) {
            calls.push_back(call.reason);
        }
        EXPECT_EQ(calls, c.calls) << c.name;
        EXPECT_TRUE(platform.live.empty()) << c.name;
    }
}

TEST_P(MemoryModuleTest, AttachReturningZeroIsDetachedReleasedAndFails) {
    FakePlatform platform(layout());
    platform.attachResult = 0;
    sumbrook::MemoryModule module(platform);
    EXPECT_FALSE(module.Load(image().file()));
    const Address entry = preferred() + kEntry;
    EXPECT_EQ(platform.entryCalls,
              (std::vector<FakePlatform::EntryCall>{{entry, preferred(), Reason::ProcessAttach},
                                                    {entry, preferred(), Reason::ProcessDetach}}));
    EXPECT_TRUE(platform.live.empty());
    EXPECT_EQ(module.BaseAddress(), 0u);
    EXPECT_EQ(module.EntryPoint(), 0u);
    EXPECT_TRUE(module.Unload());
    EXPECT_EQ(platform.entryCalls.size(), 2u);  // nothing left to detach
}

TEST_P(MemoryModuleTest, UnresolvableImportFailsBeforeTheEntryPointAndFreesTheImage) {
    const struct {
        const char* name;
        const char* missingProcedure;
        const char* missingLibrary;
    } cases[] = {
        {"by name", "user32.dll!GetDC", ""},
        {"by ordinal", "user32.dll#17", ""},
        {"in the second library", "kernel32.dll!Sleep", ""},
        {"library not found", "", "kernel32.dll"},
    };
    for (const auto& c : cases) {
        FakePlatform platform(layout());
        platform.procedures.erase(c.missingProcedure);
        platform.missingLibraries.insert(c.missingLibrary);
        sumbrook::MemoryModule module(platform);
        EXPECT_FALSE(module.Load(image().file())) << c.name;
        EXPECT_TRUE(platform.entryCalls.empty()) << c.name;
        EXPECT_EQ(platform.allocations.size(), 1u) << c.name;
        EXPECT_TRUE(platform.live.empty()) << c.name;
        EXPECT_EQ(module.BaseAddress(), 0u) << c.name;
    }
}

TEST_P(MemoryModuleTest, ResolverIsAskedFirstWithOrdinalTextAndZeroFallsBack) {
    FakePlatform platform(layout());
    platform.missingLibraries.insert("kernel32.dll");  // the resolver alone supplies Sleep
    std::vector<std::string> asked;
    const Address high = layout().high;
    const auto resolver = [&](std::string_view library, std::string_view procedure) -> Address {
        asked.push_back(std::string(library) + "/" + std::string(procedure));
        return procedure == "17" ? high + 0x11110000 : procedure == "Sleep" ? high + 0x22220000 : 0;
    };
    sumbrook::MemoryModule module(platform);
    ASSERT_TRUE(module.Load(image().file(), resolver)) << module.LastError();
    EXPECT_EQ(asked, (std::vector<std::string>{"user32.dll/GetDC", "user32.dll/17",
                                               "kernel32.dll/Sleep"}));
    EXPECT_EQ(platform.lookups, std::vector<std::string>{"user32.dll!GetDC"});
    SyntheticImage mapped;
    mapped.layout = layout();
    mapped.memory = platform.block();
    EXPECT_EQ(mapped.getWide(kUserIat), high + kGetDC);
    EXPECT_EQ(mapped.getWide(kUserIat + layout().width), high + 0x11110000);
    EXPECT_EQ(mapped.getWide(kKernelIat), high + 0x22220000);
}

TEST_P(MemoryModuleTest, OwnershipUnloadsExactlyOnce) {
    FakePlatform platform(layout());
    const Bytes file = image().file();
    {
        sumbrook::MemoryModule first(platform);
        ASSERT_TRUE(first.Load(file));
        ASSERT_TRUE(first.Load(file));  // the first image is detached and freed before mapping
        EXPECT_EQ(platform.frees, 1);
        EXPECT_EQ(platform.live.size(), 1u);

        sumbrook::MemoryModule second(std::move(first));
        EXPECT_EQ(first.BaseAddress(), 0u);
        EXPECT_EQ(second.BaseAddress(), preferred());
        platform.failFree = true;
        EXPECT_FALSE(second.Unload());  // a release the system refuses keeps the image held
        EXPECT_EQ(second.FindExport("6"), preferred() + 0x1200);
        platform.failFree = false;
    }
    EXPECT_TRUE(platform.live.empty());
    std::vector<Reason> reasons;
    for (const auto& call : platform.entryCalls) {
        reasons.push_back(call.reason);
    }
    EXPECT_EQ(reasons, (std::vector<Reason>{Reason::ProcessAttach, Reason::ProcessDetach,
                                            Reason::ProcessAttach, Reason::ProcessDetach,
                                            Reason::ProcessDetach}));
}

TEST_P(MemoryModuleTest, NoMemoryAnywhereFails) {
    FakePlatform platform(layout());
    platform.refuseAll = true;
    sumbrook::MemoryModule module(platform);
    EXPECT_FALSE(module.Load(image().file()));
    EXPECT_EQ(platform.allocations, (std::vector<std::pair<Address, std::uint32_t>>{
                                        {preferred(), kImageSize}, {0, kImageSize}}));
    EXPECT_TRUE(platform.libraries.empty());
}

TEST_P(MemoryModuleTest, EveryTruncationIsRefusedWithNothingLeftAllocated) {
    const Bytes file = image().file();
    FakePlatform platform(layout());
    sumbrook::MemoryModule module(platform);
    for (std::size_t size = 0; size < file.size(); ++size) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        ASSERT_FALSE(module.Load(cut)) << size;
    }
    EXPECT_TRUE(platform.allocations.empty());
    EXPECT_TRUE(platform.entryCalls.empty());
}

TEST_P(MemoryModuleTest, AnImageForTheOtherMachineIsRefusedBeforeAnythingIsAllocated) {
    // Each form on the platform of the other machine, and a machine neither form is for.
    const Layout& other = GetParam() == Format::Pe32 ? kPe32PlusLayout : kPe32Layout;
    const struct {
        Layout platformLayout;
        std::uint16_t imageMachine;
        std::string reason;
    } cases[] = {
        {other, layout().machine,
         std::string("image is for ") + (GetParam() == Format::Pe32 ? "i386" : "x86-64") +
             ", but this platform runs " + (GetParam() == Format::Pe32 ? "x86-64" : "i386")},
        {layout(), 0x01C4, "not an i386 or x86-64 image (machine 0x01C4)"},
        {layout(), 0xAA64, "not an i386 or x86-64 image (machine 0xAA64)"},
    };
    for (const auto& c : cases) {
        SyntheticImage sample = image();
        sample.put16(kFileHeader, c.imageMachine);
        FakePlatform platform(c.platformLayout);
        sumbrook::MemoryModule module(platform);
        EXPECT_FALSE(module.Load(sample.file())) << c.reason;
        EXPECT_NE(module.LastError().find(c.reason), std::string::npos)
            << c.reason << " / " << module.LastError();
        EXPECT_TRUE(platform.allocations.empty()) << c.reason;
        EXPECT_EQ(module.BaseAddress(), 0u) << c.reason;
    }
}

TEST_P(MemoryModuleTest, MalformedImagesAreRefusedForTheirOwnReason) {
    using Edit = std::function<void(SyntheticImage&)>;
    const auto put32 = [](std::uint32_t rva, std::uint32_t value) -> Edit {
        return [=](SyntheticImage& m) { m.put32(rva, value); };
    };
    const auto put16 = [](std::uint32_t rva, std::uint16_t value) -> Edit {
        return [=](SyntheticImage& m) { m.put16(rva, value); };
    };
    const bool pe32 = GetParam() == Format::Pe32;
    const std::uint32_t thunk = layout().width;
    const struct {
        Edit edit;
        const char* reason;  // part of the refusal's text
        bool mapsFirst;      // found only once the image is in memory
    } cases[] = {
        {put16(0, 0x5A4E), "no MZ", false},
        {put32(0x3C, 0xBC0), "NT headers lie beyond", false},
        {put32(0x3C, 0xFFFFFF00), "NT headers lie beyond", false},
        {put32(kNt, 0x4551), "no PE", false},
        // The machine and the optional header's form must agree.
        {put16(kFileHeader, pe32 ? 0x8664 : 0x14C),
         pe32 ? "x86-64 image without a PE32+ optional header"
              : "i386 image without a PE32 optional header",
         false},
        {put16(kFileHeader + 18, 0x2100), "executable", false},
        {put16(kOptional, pe32 ? 0x20B : 0x10B), pe32 ? "without a PE32 " : "without a PE32+",
         false},
        {put16(kFileHeader + 16, 96), "too small for its data directories", false},
        {put16(kFileHeader + 2, 0xFFFF), "section table", false},
        {put32(kOptional + 32, 0), "alignment", false},
        {put32(sections() + 40 + 20, 0x1000), "section 1 lies beyond the file", false},
        {put32(sections() + 40 + 16, 0x10000), "section 1 lies beyond the file", false},
        {put32(kOptional + 56, 0xFFFFF000), "implausibly large", false},
        {put32(kOptional + 16, 0x3000), "entry point", false},
        {put32(directory(5), 0x2FF0), "directory 5 lies outside", false},
        {put32(directory(0), 0), "directory 0 has a size", false},
        {put32(kRelocs + 20, 0x100), "runs past the relocation directory", true},
        {put32(kRelocs + 4, 0), "runs past the relocation directory", true},
        {put32(kRelocs + 16, 0x2A0E), "target lies outside", true},
        // DIR64 belongs to PE32+ only; HIGH (1) and type 5 to neither.
        {put16(kRelocs + 14, pe32 ? 0xA000 : 0x1000), pe32 ? "type 10" : "type 1", true},
        {put16(kRelocs + 14, 0x5000), "type 5", true},
        // A value whose last bytes lie past the image.
        {put32(kRelocs + 16, pe32 ? 0x2A0D : 0x2A0A), "target lies outside", true},
        {[&](SyntheticImage& m) {
             m.put32(directory(1), 0x2FF0);  // the walk, not the size, must stop at the end
             m.put32(directory(1) + 4, 0);
         },
         "descriptors run past", true},
        {put32(kImports + 12, 0x3000), "library name lies outside", true},
        {put32(kUserLookup, 0x2FFE), "import name of user32.dll", true},
        {[](SyntheticImage& m) {
             m.put32(kImports, 0);
             m.put32(kImports + 16, 0x2FFE);
         },
         "import table of user32.dll runs past", true},
        // A thunk whose last bytes lie past the image.
        {[thunk](SyntheticImage& m) {
             m.put32(kImports, 0);
             m.put32(kImports + 16, 0x3000 - thunk + 1);
         },
         "import table of user32.dll runs past", true},
        {put32(directory(0) + 4, 20), "export directory lies outside", true},
        {put32(kExports + 20, 0x40000000), "address table runs past", true},
        {put32(kExports + 28, 0x1000), "address table runs past", true},
        {put32(kExports + 24, 1000), "name tables run past", true},
        {put32(kNames + 4, 0x7000), "export name 1 lies outside", true},
        {put32(kFunctions + 8, 0x9000), "export 2 lies outside", true},
        {put16(kOrdinals + 2, 4), "refers to no function", true},
    };
    for (const auto& c : cases) {
        SyntheticImage sample = image();
        c.edit(sample);
        FakePlatform platform(layout());
        platform.refuseHint = true;  // relocation by a nonzero delta
        sumbrook::MemoryModule module(platform);
        EXPECT_FALSE(module.Load(sample.file())) << c.reason;
        EXPECT_NE(module.LastError().find(c.reason), std::string::npos)
            << c.reason << " / " << module.LastError();
        EXPECT_EQ(platform.allocations.empty(), !c.mapsFirst) << c.reason;
        EXPECT_TRUE(platform.live.empty()) << c.reason;
        EXPECT_TRUE(platform.entryCalls.empty()) << c.reason;
        EXPECT_EQ(module.BaseAddress(), 0u) << c.reason;
    }
}

TEST_P(MemoryModuleTest, HighLowEntriesMoveOnlyTheLow32BitsInEitherForm) {
    // The .data block's entry made HIGHLOW: a 32-bit field, even in a PE32+ image.
    SyntheticImage sample = image();
    sample.put16(kRelocs + 24, 0x35F0);
    const std::uint64_t before = sample.getWide(kRelocated3);
    FakePlatform platform(layout());
    platform.refuseHint = true;
    sumbrook::MemoryModule module(platform);
    ASSERT_TRUE(module.Load(sample.file())) << module.LastError();
    SyntheticImage mapped;
    mapped.layout = layout();
    mapped.memory = platform.block();
    const Address delta = platform.fallbackAddress - preferred();
    const std::uint64_t low = static_cast<std::uint32_t>(before + delta);
    EXPECT_EQ(mapped.getWide(kRelocated3), (before & ~std::uint64_t{0xFFFFFFFF}) | low);
}

TEST_P(MemoryModuleTest, ImportsAboveFourGigabytesFitOnlyTheWideForm) {
    FakePlatform platform(layout());
    platform.procedures["kernel32.dll!Sleep"] = 0x100000000 + kSleep;
    sumbrook::MemoryModule module(platform);
    const bool loaded = module.Load(image().file());
    EXPECT_EQ(loaded, GetParam() == Format::Pe32Plus) << module.LastError();
    if (!loaded) {
        EXPECT_NE(module.LastError().find("kernel32.dll!Sleep lies beyond 32-bit addresses"),
                  std::string::npos)
            << module.LastError();
        EXPECT_TRUE(platform.live.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, MemoryModuleTest,
                         ::testing::Values(Format::Pe32, Format::Pe32Plus),
                         [](const ::testing::TestParamInfo<Format>& row) {
                             return row.param == Format::Pe32 ? "Pe32" : "Pe32Plus";
                         });

}  // namespace
}  // namespace sumbrook
