// MemoryModule over the real system: DLLs built by the cross compiler, read into memory and
// mapped from there, never loaded from their files.

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/synthetic_pe_image.h"
#include "themes/memory_module.h"
#include "themes/pe_image.h"
#include "themes/windows_module_platform.h"
#include "wine_check.h"

namespace sumbrook {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Beside this program: probe.dll, its variants and probe_helper.dll.
std::string besideProgram(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1) + name;
}

Bytes readFile(const char* name) {
    std::ifstream in(besideProgram(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uintptr_t preferredBase(const Bytes& image) {
    std::string reason;
    const auto headers = PeImage::parse(image, reason);
    return headers ? static_cast<std::uintptr_t>(headers->imageBase) : 0;
}

bool isFree(std::uintptr_t address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info) != 0 &&
           info.State == MEM_FREE;
}

template <class Function>
Function as(std::uintptr_t address) {
    return reinterpret_cast<Function>(address);
}

// A pointer stored in the image: 4 bytes on i686, 8 on x86-64.
std::uintptr_t readPointer(std::uintptr_t address) {
    return *reinterpret_cast<const std::uintptr_t*>(address);
}

std::uintptr_t baseOf(const MemoryModule& module) {
    return static_cast<std::uintptr_t>(module.BaseAddress());
}

struct EntryCall {
    UINT_PTR instance = 0;
    DWORD reason = 0, value = 0;
    bool operator==(const EntryCall&) const = default;
};

std::ostream& operator<<(std::ostream& out, const EntryCall& call) {
    return out << std::hex << "(0x" << call.instance << ", " << call.reason << ", " << std::dec
               << call.value << ")";
}

// The probe's entry-point calls, kept by the helper, which the system loads normally.
class EntryCalls {
  public:
    EntryCalls() : helper_(LoadLibraryA("probe_helper.dll")) {
        forget_ = as<void (*)()>(proc("helper_forget_entry_calls"));
        count_ = as<LONG (*)()>(proc("helper_entry_call_count"));
        at_ = as<BOOL (*)(LONG, UINT_PTR*, DWORD*, DWORD*)>(proc("helper_entry_call"));
        if (forget_ != nullptr) {
            forget_();
        }
    }
    bool ready() const { return forget_ != nullptr && count_ != nullptr && at_ != nullptr; }
    std::vector<EntryCall> all() const {
        std::vector<EntryCall> calls(static_cast<std::size_t>(count_()));
        for (std::size_t i = 0; i < calls.size(); ++i) {
            at_(static_cast<LONG>(i), &calls[i].instance, &calls[i].reason, &calls[i].value);
        }
        return calls;
    }

  private:
    std::uintptr_t proc(const char* name) const {
        return reinterpret_cast<std::uintptr_t>(GetProcAddress(helper_, name));
    }
    HMODULE helper_;
    void (*forget_)() = nullptr;
    LONG (*count_)() = nullptr;
    BOOL (*at_)(LONG, UINT_PTR*, DWORD*, DWORD*) = nullptr;
};

constexpr DWORD kDetach = DLL_PROCESS_DETACH;
constexpr DWORD kAttach = DLL_PROCESS_ATTACH;
constexpr DWORD kProbeValue = 41;  // what the probe's relocated pointer points at

WINE_CHECK(ExportsAreFoundByNameAndByOrdinalFromTheBase) {
    WindowsModulePlatform platform;
    MemoryModule module(platform);
    REQUIRE(module.Load(readFile("probe.dll")));
    const std::uintptr_t base = baseOf(module);

    // By name: through kernel32's lstrlenA, imported by name.
    const auto length = as<int (*)(const char*)>(module.FindExport("ProbeLength"));
    REQUIRE(length != nullptr);
    EXPECT_EQ(length("sumbrook"), 8);
    // Ordinal 8 (the directory's Base is 7): through the helper's ordinal-only import.
    const auto triple = as<int (*)(int)>(module.FindExport("8"));
    REQUIRE(triple != nullptr);
    EXPECT_EQ(triple(14), 42);
    const auto ordinalOnly = as<int (*)()>(module.FindExport("9"));
    REQUIRE(ordinalOnly != nullptr);
    EXPECT_EQ(ordinalOnly(), 77);

    const struct {
        const char* text;
        const char* sameAs;  // null: not found
    } rows[] = {
        {"7", "ProbeLength"},
        {"8", "ProbeTriple"},
        {"10", "probe_value"},
        {"6", nullptr},
        {"13", nullptr},
        {"0", nullptr},
        {"07", nullptr},
        {"ProbeOrdinalOnly", nullptr},  // exported without a name
        {"probelength", nullptr},
        {"Probe", nullptr},
        {"", nullptr},
    };
    for (const auto& row : rows) {
        const std::uintptr_t found = module.FindExport(row.text);
        if (row.sameAs == nullptr) {
            EXPECT_EQ(found, 0u) << row.text;
        } else {
            EXPECT_EQ(found, module.FindExport(row.sameAs)) << row.text;
            EXPECT(found > base && found < base + 0x10000) << row.text;
        }
    }
}

WINE_CHECK(RelocationsHoldAtThePreferredBaseAndAnyOther) {
    const Bytes image = readFile("probe.dll");
    const std::uintptr_t preferred = preferredBase(image);
    REQUIRE(preferred != 0);
    for (const bool preferredTaken : {false, true}) {
        // Reserving the preferred base forces the loader to map elsewhere and move.
        void* taken = preferredTaken ? VirtualAlloc(reinterpret_cast<void*>(preferred), 0x10000,
                                                    MEM_RESERVE, PAGE_NOACCESS)
                                     : nullptr;
        REQUIRE(!preferredTaken || taken != nullptr);
        EntryCalls calls;
        REQUIRE(calls.ready());
        WindowsModulePlatform platform;
        MemoryModule module(platform);
        REQUIRE(module.Load(image));
        const std::uintptr_t base = baseOf(module);
        if (preferredTaken) {
            EXPECT(base != preferred) << std::hex << base;
        } else {
            EXPECT_EQ(base, preferred);
        }

        EXPECT_EQ(readPointer(module.FindExport("probe_value_pointer")),
                  module.FindExport("probe_value"));
        const std::uintptr_t pointers = module.FindExport("probe_text_pointers");
        REQUIRE(pointers != 0);
        EXPECT_EQ(std::string(as<const char*>(readPointer(pointers))), "sumbrook");
        EXPECT_EQ(std::string(as<const char*>(readPointer(pointers + sizeof(void*)))), "brook");
        // The entry point already read through the relocated pointer.
        EXPECT_EQ(calls.all(), (std::vector<EntryCall>{{base, kAttach, kProbeValue}}))
            << "preferred base taken: " << preferredTaken;
        EXPECT(module.Unload());
        if (taken != nullptr) {
            VirtualFree(taken, 0, MEM_RELEASE);
        }
    }
}

WINE_CHECK(UnloadCallsDetachAndFreesTheImage) {
    EntryCalls calls;
    REQUIRE(calls.ready());
    WindowsModulePlatform platform;
    MemoryModule module(platform);
    REQUIRE(module.Load(readFile("probe.dll")));
    const std::uintptr_t base = baseOf(module);
    EXPECT(!isFree(base));
    EXPECT_EQ(calls.all().size(), 1u);

    EXPECT(module.Unload());
    EXPECT_EQ(module.BaseAddress(), 0u);
    EXPECT_EQ(module.FindExport("ProbeLength"), 0u);
    EXPECT(isFree(base));
    EXPECT_EQ(calls.all(),
              (std::vector<EntryCall>{{base, kAttach, kProbeValue}, {base, kDetach, kProbeValue}}));
    EXPECT(module.Unload());  // nothing left: no second detach
    EXPECT_EQ(calls.all().size(), 2u);
}

WINE_CHECK(AttachAnsweredWithZeroIsDetachedAndReleased) {
    EntryCalls calls;
    REQUIRE(calls.ready());
    WindowsModulePlatform platform;
    MemoryModule module(platform);
    EXPECT(!module.Load(readFile("probe_refuses.dll")));
    EXPECT_EQ(module.BaseAddress(), 0u);
    const std::vector<EntryCall> seen = calls.all();
    REQUIRE(seen.size() == 2);
    const UINT_PTR base = seen[0].instance;
    EXPECT_EQ(seen,
              (std::vector<EntryCall>{{base, kAttach, kProbeValue}, {base, kDetach, kProbeValue}}));
    EXPECT(isFree(base)) << std::hex << base;
}

WINE_CHECK(UnresolvableImportIsRefusedBeforeTheEntryPoint) {
    const Bytes image = readFile("probe_unresolvable.dll");
    const std::uintptr_t preferred = preferredBase(image);
    REQUIRE(preferred != 0 && isFree(preferred));
    EntryCalls calls;
    REQUIRE(calls.ready());
    WindowsModulePlatform platform;
    MemoryModule module(platform);
    EXPECT(!module.Load(image));
    EXPECT(module.LastError().find("SumbrookNoSuchFunction") != std::string::npos)
        << module.LastError();
    EXPECT(calls.all().empty());
    EXPECT(isFree(preferred));  // where the image was mapped before binding failed
}

int WINAPI countedLength(LPCSTR text) {
    return 1000 + lstrlenA(text);
}

int negated(int x) {
    return -x;
}

WINE_CHECK(ImportResolverIsAskedFirstAndZeroFallsBack) {
    std::vector<std::string> asked;
    const auto resolver = [&asked](std::string_view library,
                                   std::string_view procedure) -> ModulePlatform::Address {
        asked.push_back(std::string(library) + "/" + std::string(procedure));
        if (procedure == "lstrlenA") {
            return reinterpret_cast<std::uintptr_t>(&countedLength);
        }
        if (procedure == "2") {
            return reinterpret_cast<std::uintptr_t>(&negated);
        }
        return 0;
    };
    EntryCalls calls;
    REQUIRE(calls.ready());
    WindowsModulePlatform platform;
    MemoryModule module(platform);
    REQUIRE(module.Load(readFile("probe.dll"), resolver));
    std::sort(asked.begin(), asked.end());  // the linker chooses the libraries' order
    EXPECT_EQ(asked, (std::vector<std::string>{"KERNEL32.dll/lstrlenA", "probe_helper.dll/1",
                                               "probe_helper.dll/2"}));
    EXPECT_EQ(as<int (*)(const char*)>(module.FindExport("ProbeLength"))("abc"), 1003);
    EXPECT_EQ(as<int (*)(int)>(module.FindExport("ProbeTriple"))(5), -5);
    // Ordinal 1 fell back to the helper itself, which recorded the attach.
    EXPECT_EQ(calls.all().size(), 1u);
}

WINE_CHECK(PlatformRefusesAHintOffTheAllocationGranularity) {
    WindowsModulePlatform platform;
    const std::uint32_t hints[] = {0x63001000, 0x00000100};
    for (const std::uint32_t hint : hints) {
        EXPECT(platform.allocate(hint, 0x1000).data == nullptr) << std::hex << hint;
    }
    const ModulePlatform::Block anywhere = platform.allocate(0, 0x1000);
    REQUIRE(anywhere.data != nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(anywhere.data),
              static_cast<std::uintptr_t>(anywhere.address));
    EXPECT(platform.free(anywhere));
    EXPECT(isFree(static_cast<std::uintptr_t>(anywhere.address)));
}

WINE_CHECK(AnImageForTheOtherMachineIsRefused) {
    using pe_sample::Format;
    const bool wide = sizeof(void*) == 8;
    // The image of this build's machine maps; the other one is refused before any memory
    // is taken, so its preferred base stays free.
    for (const Format format : {Format::Pe32, Format::Pe32Plus}) {
        const bool native = (format == Format::Pe32Plus) == wide;
        pe_sample::SyntheticImage sample = pe_sample::makeImage(format);
        // An executable, not a DLL: its entry point (a bare return) is not called.
        sample.put16(pe_sample::kFileHeader + 18, 0x0102);
        const std::uint64_t preferred = sample.layout.preferredBase;
        // Its imports (GetDC, Sleep) are bound to a function of this program, never called.
        const auto resolver = [](std::string_view, std::string_view) -> ModulePlatform::Address {
            return reinterpret_cast<std::uintptr_t>(&negated);
        };
        WindowsModulePlatform platform;
        MemoryModule module(platform);
        const bool loaded = module.Load(sample.file(), resolver);
        EXPECT_EQ(loaded, native) << sample.layout.name << ": " << module.LastError();
        if (!native) {
            EXPECT(module.LastError().find(wide ? "image is for i386" : "image is for x86-64") !=
                   std::string::npos)
                << module.LastError();
            EXPECT(preferred > UINTPTR_MAX || isFree(static_cast<std::uintptr_t>(preferred)));
        }
        EXPECT(module.Unload());
    }
}

}  // namespace
}  // namespace sumbrook
