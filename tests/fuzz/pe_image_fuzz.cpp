// Fuzz target for the in-memory module loader: whatever the bytes, Load either refuses them
// with nothing left allocated, or maps an image whose entry point and every export it
// answers lie inside the mapping, and Unload releases it. Reads out of bounds are for the
// address sanitizer to catch.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_seeds.h"
#include "support/synthetic_pe_image.h"
#include "themes/memory_module.h"

namespace {

using sumbrook::ModulePlatform;

// Host memory under 32-bit addresses; imports resolve to a fixed address; the entry point
// is never run, only answered.
class SandboxPlatform : public ModulePlatform {
  public:
    Block allocate(std::uint32_t hint, std::uint32_t size) override {
        if (size > (16u << 20) || live_) {
            return {};  // a damaged header asking for more is refused like a full machine
        }
        live_ = std::make_unique<std::uint8_t[]>(size);
        return {live_.get(), hint != 0 ? hint : 0x30000000u};
    }
    bool free(const Block& block) override {
        if (block.data != live_.get()) {
            std::abort();  // released something it was not given
        }
        live_.reset();
        return true;
    }
    LibraryHandle loadLibrary(std::string_view) override { return this; }
    std::uint32_t findProcedure(LibraryHandle, const Procedure&) override { return 0x7C001000; }
    int callEntryPoint(std::uint32_t, std::uint32_t, EntryReason) override { return 1; }
    bool holdsMemory() const { return live_ != nullptr; }

  private:
    std::unique_ptr<std::uint8_t[]> live_;
};

void expectInside(std::uintptr_t address, std::uint32_t base, std::uint32_t size) {
    if (address != 0 && (address < base || address - base >= size)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SandboxPlatform platform;
    {
        sumbrook::MemoryModule module(platform);
        if (!module.Load({data, size})) {
            if (platform.holdsMemory() || module.BaseAddress() != 0) {
                std::abort();  // a refused image left memory behind
            }
            return 0;
        }
        const std::uint32_t base = module.BaseAddress();
        // The mapping is at most 16 MiB (the sandbox's limit), so a wider answer is wrong.
        const std::uint32_t span = 16u << 20;
        expectInside(module.EntryPoint(), base, span);
        for (const char* name : {"SkinH_AttachRes", "SkinH_Detach", "1", "5", "7", "65535", ""}) {
            expectInside(module.FindExport(name), base, span);
        }
        if (!module.Unload() || platform.holdsMemory()) {
            std::abort();
        }
    }
    return 0;
}

QList<QByteArray> fuzzSeeds() {
    const std::vector<std::uint8_t> image = sumbrook::pe_sample::makeImage().file();
    return {QByteArray(reinterpret_cast<const char*>(image.data()),
                       static_cast<qsizetype>(image.size()))};
}
