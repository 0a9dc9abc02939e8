#include "memory_module.h"

#include <cstring>
#include <optional>
#include <utility>

#include "themes/pe_image.h"

namespace sumbrook {

namespace {

using Reason = ModulePlatform::EntryReason;
using Address = ModulePlatform::Address;

constexpr std::uint64_t kAddressSpace32 = std::uint64_t{1} << 32;
constexpr std::uint64_t kImportDescriptorSize = 20;
constexpr std::uint64_t kExportDirectorySize = 40;
constexpr unsigned kRelocAbsolute = 0;
constexpr unsigned kRelocHighLow = 3;
constexpr unsigned kRelocDir64 = 10;

// The parts of the walks that differ between PE32 and PE32+: the width of an import thunk,
// where its ordinal flag sits, and the width of an address written into the image.
struct Form {
    unsigned width;  // bytes of a thunk and of an address
    std::uint64_t ordinalFlag;

    explicit Form(bool is64)
        : width(is64 ? 8 : 4), ordinalFlag(is64 ? std::uint64_t{1} << 63 : 0x80000000u) {}
    std::optional<std::uint64_t> read(std::span<const std::uint8_t> image,
                                      std::uint64_t offset) const {
        if (width == 8) {
            return PeImage::read64(image, offset);
        }
        return PeImage::read32(image, offset);
    }
};

void write(std::span<std::uint8_t> image, std::uint64_t offset, std::uint64_t value,
           unsigned width) {
    for (unsigned i = 0; i < width; ++i) {
        image[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Walks the relocation blocks inside the directory only: a block whose size is below its own
// header or runs past the directory, or a target outside the image, refuses the image. A
// PE32+ image may hold 64-bit (DIR64) and 32-bit (HIGHLOW) entries, a PE32 image only the
// latter; HIGHLOW adds the low 32 bits of the delta, as the system's loader does.
std::string applyRelocations(std::span<std::uint8_t> image, const PeImage::Directory& directory,
                             std::uint64_t delta, bool is64) {
    std::uint64_t offset = directory.virtualAddress;
    while (offset + 8 <= directory.end()) {
        const std::uint32_t page = *PeImage::read32(image, offset);
        const std::uint32_t blockSize = *PeImage::read32(image, offset + 4);
        if (page == 0) {
            break;  // the zero bytes after the last block
        }
        if (blockSize < 8 || offset + blockSize > directory.end()) {
            return "relocation block size runs past the relocation directory";
        }
        for (std::uint64_t at = offset + 8; at + 2 <= offset + blockSize; at += 2) {
            const std::uint16_t entry = *PeImage::read16(image, at);
            const unsigned type = entry >> 12;
            if (type == kRelocAbsolute) {
                continue;
            }
            if (type != kRelocHighLow && (type != kRelocDir64 || !is64)) {
                return "unsupported relocation type " + std::to_string(type);
            }
            const Form form(type == kRelocDir64);
            const std::uint64_t target = std::uint64_t{page} + (entry & 0x0FFFu);
            const std::optional<std::uint64_t> value = form.read(image, target);
            if (!value) {
                return "relocation target lies outside the image";
            }
            write(image, target, *value + delta, form.width);
        }
        offset += blockSize;
    }
    return {};
}

// Binds every import address table entry. The names are read from the lookup table
// (OriginalFirstThunk) when there is one, because a pre-bound address table holds addresses.
std::string bindImports(std::span<std::uint8_t> image, std::uint32_t directoryRva, const Form& form,
                        ModulePlatform& platform, const MemoryModule::ImportResolver& resolver) {
    for (std::uint64_t descriptor = directoryRva;; descriptor += kImportDescriptorSize) {
        if (descriptor + kImportDescriptorSize > image.size()) {
            return "import descriptors run past the image";
        }
        const std::uint32_t lookupTable = *PeImage::read32(image, descriptor);
        const std::uint32_t nameRva = *PeImage::read32(image, descriptor + 12);
        const std::uint32_t addressTable = *PeImage::read32(image, descriptor + 16);
        if (addressTable == 0) {
            return {};
        }
        const std::optional<std::string_view> library = PeImage::readText(image, nameRva);
        if (!library) {
            return "import library name lies outside the image";
        }
        // Copied: binding writes into the image, which a malformed one may overlap with names.
        const std::string libraryName(*library);
        ModulePlatform::LibraryHandle handle = platform.loadLibrary(libraryName);
        const std::uint64_t names = lookupTable != 0 ? lookupTable : addressTable;
        for (std::uint64_t k = 0;; ++k) {
            const std::optional<std::uint64_t> thunk = form.read(image, names + form.width * k);
            const std::uint64_t slot = addressTable + form.width * k;
            if (!thunk || slot + form.width > image.size()) {
                return "import table of " + libraryName + " runs past the image";
            }
            if (*thunk == 0) {
                break;
            }
            std::string text;
            ModulePlatform::Procedure procedure;
            if ((*thunk & form.ordinalFlag) != 0) {
                const auto ordinal = static_cast<std::uint16_t>(*thunk & 0xFFFF);
                text = std::to_string(ordinal);
                procedure = ordinal;
            } else {
                const std::optional<std::string_view> name =
                    PeImage::readText(image, *thunk + 2);  // after the hint
                if (!name) {
                    return "import name of " + libraryName + " lies outside the image";
                }
                text = *name;
                procedure = std::string_view(text);
            }
            Address address = resolver ? resolver(libraryName, text) : 0;
            if (address == 0 && handle != nullptr) {
                address = platform.findProcedure(handle, procedure);
            }
            if (address == 0) {
                return "cannot resolve import " + libraryName + "!" + text;
            }
            if (form.width == 4 && address >= kAddressSpace32) {
                return "import " + libraryName + "!" + text + " lies beyond 32-bit addresses";
            }
            write(image, slot, address, form.width);
        }
    }
}

// The export directory's tables, each checked to lie inside the directory, so that no count
// can walk a table past its end.
struct ExportTable {
    std::uint32_t ordinalBase = 0;
    std::uint32_t functionCount = 0;
    std::uint32_t nameCount = 0;
    std::uint32_t functions = 0;
    std::uint32_t names = 0;
    std::uint32_t ordinals = 0;
};

std::optional<ExportTable> readExportTable(std::span<const std::uint8_t> image,
                                           const PeImage::Directory& directory,
                                           std::string& reason) {
    if (directory.size < kExportDirectorySize || directory.end() > image.size()) {
        reason = "export directory lies outside the image";
        return std::nullopt;
    }
    const std::uint64_t at = directory.virtualAddress;
    const ExportTable table{*PeImage::read32(image, at + 16), *PeImage::read32(image, at + 20),
                            *PeImage::read32(image, at + 24), *PeImage::read32(image, at + 28),
                            *PeImage::read32(image, at + 32), *PeImage::read32(image, at + 36)};
    const auto inside = [&directory](std::uint64_t start, std::uint64_t count, unsigned width) {
        return count == 0 ||
               (start >= directory.virtualAddress && start + count * width <= directory.end());
    };
    if (!inside(table.functions, table.functionCount, 4)) {
        reason = "export address table runs past the export directory";
    } else if (!inside(table.names, table.nameCount, 4) ||
               !inside(table.ordinals, table.nameCount, 2)) {
        reason = "export name tables run past the export directory";
    } else {
        return table;
    }
    return std::nullopt;
}

// Refuses, at load, an export table whose entries point outside the image.
std::string checkExports(std::span<const std::uint8_t> image, const PeImage::Directory& directory) {
    std::string reason;
    const std::optional<ExportTable> table = readExportTable(image, directory, reason);
    if (!table) {
        return reason;
    }
    for (std::uint64_t i = 0; i < table->functionCount; ++i) {
        if (*PeImage::read32(image, table->functions + 4 * i) >= image.size()) {
            return "export " + std::to_string(i) + " lies outside the image";
        }
    }
    for (std::uint64_t i = 0; i < table->nameCount; ++i) {
        if (!PeImage::readText(image, *PeImage::read32(image, table->names + 4 * i))) {
            return "export name " + std::to_string(i) + " lies outside the image";
        }
        if (*PeImage::read16(image, table->ordinals + 2 * i) >= table->functionCount) {
            return "export name " + std::to_string(i) + " refers to no function";
        }
    }
    return {};
}

// A canonical decimal text ("5", not "05" or "+5") names an ordinal.
std::optional<std::uint32_t> ordinalOf(std::string_view text) {
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value >= kAddressSpace32) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

MemoryModule::~MemoryModule() {
    Unload();
}

MemoryModule::MemoryModule(MemoryModule&& other) noexcept
    : platform_(other.platform_),
      block_(std::exchange(other.block_, {})),
      size_(std::exchange(other.size_, 0)),
      entryRva_(other.entryRva_),
      isDll_(other.isDll_),
      exportRva_(other.exportRva_),
      exportSize_(other.exportSize_),
      error_(std::move(other.error_)),
      elf_(std::move(other.elf_)) {}

MemoryModule& MemoryModule::operator=(MemoryModule&& other) noexcept {
    if (this != &other) {
        Unload();
        platform_ = other.platform_;
        block_ = std::exchange(other.block_, {});
        size_ = std::exchange(other.size_, 0);
        entryRva_ = other.entryRva_;
        isDll_ = other.isDll_;
        exportRva_ = other.exportRva_;
        exportSize_ = other.exportSize_;
        error_ = std::move(other.error_);
        elf_ = std::move(other.elf_);
    }
    return *this;
}

bool MemoryModule::fail(std::string reason) {
    if (block_.data != nullptr) {
        platform_->free(block_);
    }
    block_ = {};
    size_ = 0;
    error_ = std::move(reason);
    return false;
}

bool MemoryModule::Load(std::span<const std::uint8_t> bytes, const ImportResolver& resolver) {
    if (block_.data != nullptr) {
        Unload();
        block_ = {};  // a mapping the platform would not release is abandoned, not reused
    }
    elf_.Unload();
    if (bytes.size() >= 4 && std::memcmp(bytes.data(),
                                         "\x7f"
                                         "ELF",
                                         4) == 0) {
        std::string why;
        if (!ElfMemoryLoader::Recognizes(bytes)) {
            return fail("ELF object is not a shared object of this machine");
        }
        if (!elf_.Load(bytes, why)) {
            return fail("cannot load ELF object: " + why);
        }
        error_.clear();
        return true;
    }
    if (bytes.size() < 2 || bytes[0] != 'M' || bytes[1] != 'Z') {
        return fail("neither a PE image nor an ELF shared object (no MZ signature)");
    }
    std::string reason;
    const std::optional<PeImage> image = PeImage::parse(bytes, reason);
    if (!image) {
        return fail("malformed image: " + reason);
    }
    if (image->machine != platform_->machine()) {
        return fail("image is for " + PeImage::MachineName(image->machine) +
                    ", but this platform runs " + PeImage::MachineName(platform_->machine()) +
                    " images");
    }
    ModulePlatform::Block block = platform_->allocate(image->imageBase, image->sizeOfImage);
    if (block.data == nullptr) {
        block = platform_->allocate(0, image->sizeOfImage);
    }
    if (block.data == nullptr) {
        return fail("no memory for the image");
    }
    block_ = block;
    size_ = image->sizeOfImage;
    const std::uint64_t addressLimit = image->is64() ? ~std::uint64_t{0} : kAddressSpace32 - 1;
    if (block.address == 0 || block.address > addressLimit ||
        addressLimit - block.address < size_ - 1) {
        return fail(image->is64() ? "mapped block does not fit the 64-bit address space"
                                  : "mapped block does not fit the 32-bit address space");
    }

    std::memcpy(block.data, bytes.data(), image->headersSize);
    for (const PeImage::Section& section : image->sections) {
        if (section.sizeOfRawData > 0 && section.virtualAddress != 0) {
            std::memcpy(block.data + section.virtualAddress,
                        bytes.data() + section.pointerToRawData, section.sizeOfRawData);
        }
    }

    // Wraps around within the image's own address width.
    const std::uint64_t delta = (block.address - image->imageBase) & addressLimit;
    if (delta != 0 && (image->characteristics & PeImage::kRelocsStripped) != 0) {
        return fail("relocations stripped and the preferred base is taken");
    }
    // Walked even at the preferred base, so a malformed table is refused wherever the image lands.
    const PeImage::Directory& relocations = image->directory(PeImage::kBaseRelocations);
    if (relocations.size > 0) {
        if (std::string why = applyRelocations(mapped(), relocations, delta, image->is64());
            !why.empty()) {
            return fail(why);
        }
    }
    const PeImage::Directory& exports = image->directory(PeImage::kExports);
    exportRva_ = exports.virtualAddress;
    exportSize_ = exports.size;
    if (exportRva_ != 0) {
        if (std::string why = checkExports(mapped(), exports); !why.empty()) {
            return fail(why);
        }
    }
    const PeImage::Directory& imports = image->directory(PeImage::kImports);
    if (imports.virtualAddress != 0) {
        std::string why = bindImports(mapped(), imports.virtualAddress, Form(image->is64()),
                                      *platform_, resolver);
        if (!why.empty()) {
            return fail(why);
        }
    }

    entryRva_ = image->addressOfEntryPoint;
    isDll_ = image->isDll();
    // A DLL without an entry point (resource only) is not called: base + 0 is its MZ header.
    if (isDll_ && entryRva_ != 0 &&
        platform_->callEntryPoint(EntryPoint(), block.address, Reason::ProcessAttach) == 0) {
        platform_->callEntryPoint(EntryPoint(), block.address, Reason::ProcessDetach);
        return fail("entry point refused the process attach");
    }
    error_.clear();
    return true;
}

bool MemoryModule::Unload() {
    if (elf_.IsLoaded()) {
        return elf_.Unload();
    }
    if (block_.data == nullptr) {
        return true;
    }
    if (isDll_ && entryRva_ != 0) {
        platform_->callEntryPoint(EntryPoint(), block_.address, Reason::ProcessDetach);
    }
    if (platform_->free(block_)) {
        block_ = {};
        size_ = 0;
    }
    return block_.data == nullptr;
}

ModulePlatform::Address MemoryModule::EntryPoint() const {
    return block_.data != nullptr && entryRva_ != 0 ? block_.address + entryRva_ : 0;
}

std::uintptr_t MemoryModule::FindExport(std::string_view name) const {
    if (elf_.IsLoaded()) {
        return elf_.FindSymbol(name);
    }
    if (block_.data == nullptr || exportRva_ == 0) {
        return 0;
    }
    // Read again from the mapped image, which the module itself may have written to since.
    const std::span<const std::uint8_t> image = mapped();
    std::string reason;
    const std::optional<ExportTable> table =
        readExportTable(image, {exportRva_, exportSize_}, reason);
    if (!table) {
        return 0;
    }
    const auto addressOf = [&](std::uint64_t index) -> std::uintptr_t {
        const std::uint32_t rva = *PeImage::read32(image, table->functions + 4 * index);
        const bool forwarded = rva >= exportRva_ && rva - exportRva_ < exportSize_;
        return rva == 0 || forwarded || rva >= size_
                   ? 0
                   : static_cast<std::uintptr_t>(block_.address + rva);
    };
    if (const std::optional<std::uint32_t> ordinal = ordinalOf(name)) {
        const std::int64_t index = std::int64_t{*ordinal} - table->ordinalBase;
        return index >= 0 && index < table->functionCount ? addressOf(index) : 0;
    }
    for (std::uint64_t i = 0; i < table->nameCount; ++i) {
        const std::optional<std::string_view> current =
            PeImage::readText(image, *PeImage::read32(image, table->names + 4 * i));
        const std::uint16_t index = *PeImage::read16(image, table->ordinals + 2 * i);
        if (current && *current == name && index < table->functionCount) {
            if (const std::uintptr_t address = addressOf(index); address != 0) {
                return address;
            }
        }
    }
    return 0;
}

}  // namespace sumbrook
