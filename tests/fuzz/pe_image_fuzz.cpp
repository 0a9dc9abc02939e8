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

// Host memory under image addresses of one machine's width; imports resolve to a fixed
// address; the entry point is never run, only answered.
class SandboxPlatform : public ModulePlatform {
  public:
    explicit SandboxPlatform(std::uint16_t machine) : machine_(machine) {}
    std::uint16_t machine() const override { return machine_; }
    Block allocate(Address hint, std::uint32_t size) override {
        if (size > (16u << 20) || live_) {
            return {};  // a damaged header asking for more is refused like a full machine
        }
        live_ = std::make_unique<std::uint8_t[]>(size);
        const Address anywhere = machine_ == 0x8664 ? 0x7FF612340000 : 0x30000000;
        return {live_.get(), hint != 0 ? hint : anywhere};
    }
    bool free(const Block& block) override {
        if (block.data != live_.get()) {
            std::abort();  // released something it was not given
        }
        live_.reset();
        return true;
    }
    LibraryHandle loadLibrary(std::string_view) override { return this; }
    Address findProcedure(LibraryHandle, const Procedure&) override {
        return machine_ == 0x8664 ? 0x7FF87C001000 : 0x7C001000;
    }
    int callEntryPoint(Address, Address, EntryReason) override { return 1; }
    bool holdsMemory() const { return live_ != nullptr; }

  private:
    std::uint16_t machine_;
    std::unique_ptr<std::uint8_t[]> live_;
};

void expectInside(std::uint64_t address, std::uint64_t base, std::uint64_t size) {
    if (address != 0 && (address < base || address - base >= size)) {
        std::abort();
    }
}

// The same bytes on a platform of each machine: a PE32 image maps on the i386 one only,
// a PE32+ image on the x86-64 one only.
void loadOn(std::uint16_t machine, const std::uint8_t* data, std::size_t size) {
    SandboxPlatform platform(machine);
    sumbrook::MemoryModule module(platform);
    if (!module.Load({data, size})) {
        if (platform.holdsMemory() || module.BaseAddress() != 0) {
            std::abort();  // a refused image left memory behind
        }
        return;
    }
    const std::uint64_t base = module.BaseAddress();
    // The mapping is at most 16 MiB (the sandbox's limit), so a wider answer is wrong.
    const std::uint64_t span = 16u << 20;
    expectInside(module.EntryPoint(), base, span);
    for (const char* name : {"SkinH_AttachRes", "SkinH_Detach", "1", "5", "7", "65535", ""}) {
        expectInside(module.FindExport(name), base, span);
    }
    if (!module.Unload() || platform.holdsMemory()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadOn(0x014C, data, size);
    loadOn(0x8664, data, size);
    return 0;
}

QList<QByteArray> fuzzSeeds() {
    using sumbrook::pe_sample::Format;
    QList<QByteArray> seeds;
    for (const Format format : {Format::Pe32, Format::Pe32Plus}) {
        const std::vector<std::uint8_t> image = sumbrook::pe_sample::makeImage(format).file();
        seeds.append(QByteArray(reinterpret_cast<const char*>(image.data()),
                                static_cast<qsizetype>(image.size())));
    }
    return seeds;
}
