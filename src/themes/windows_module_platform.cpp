#include "windows_module_platform.h"

#include <windows.h>

#include <limits>
#include <string>

namespace sumbrook {

namespace {

ModulePlatform::Address addressOf(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

void* pointerTo(ModulePlatform::Address address) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(address));
}

}  // namespace

std::uint16_t WindowsModulePlatform::machine() const {
#if defined(_WIN64)
    return 0x8664;
#else
    return 0x014C;
#endif
}

ModulePlatform::Block WindowsModulePlatform::allocate(Address addressHint, std::uint32_t size) {
    // A hint beyond this process's pointers (a PE32+ base on a 32-bit build) cannot be met.
    if (addressHint % kAllocationGranularity != 0 || size == 0 ||
        addressHint > std::numeric_limits<std::uintptr_t>::max()) {
        return {};
    }
    void* memory = VirtualAlloc(pointerTo(addressHint), size, MEM_COMMIT | MEM_RESERVE,
                                PAGE_EXECUTE_READWRITE);
    if (memory == nullptr) {
        return {};
    }
    return {static_cast<std::uint8_t*>(memory), addressOf(memory)};
}

bool WindowsModulePlatform::free(const Block& block) {
    return block.data != nullptr && VirtualFree(block.data, 0, MEM_RELEASE) != 0;
}

ModulePlatform::LibraryHandle WindowsModulePlatform::loadLibrary(std::string_view name) {
    const std::string text(name);
    return LoadLibraryA(text.c_str());
}

ModulePlatform::Address WindowsModulePlatform::findProcedure(LibraryHandle library,
                                                             const Procedure& procedure) {
    const auto module = static_cast<HMODULE>(library);
    FARPROC found = nullptr;
    if (const auto* name = std::get_if<std::string_view>(&procedure)) {
        const std::string text(*name);
        found = GetProcAddress(module, text.c_str());
    } else if (const std::uint16_t ordinal = std::get<std::uint16_t>(procedure); ordinal != 0) {
        // Ordinal 0 would be a null name pointer, which asks for nothing.
        found = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    }
    return reinterpret_cast<std::uintptr_t>(found);
}

int WindowsModulePlatform::callEntryPoint(Address entry, Address base, EntryReason reason) {
    using DllEntry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
    const auto call = reinterpret_cast<DllEntry>(static_cast<std::uintptr_t>(entry));
    return call(static_cast<HINSTANCE>(pointerTo(base)), static_cast<DWORD>(reason), nullptr);
}

}  // namespace sumbrook
