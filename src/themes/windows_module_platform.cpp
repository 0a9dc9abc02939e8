#include "windows_module_platform.h"

#include <windows.h>

#include <string>

namespace sumbrook {

static_assert(sizeof(void*) == sizeof(std::uint32_t),
              "image addresses are this process's pointers only on 32-bit Windows");

namespace {

std::uint32_t addressOf(const void* pointer) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

void* pointerTo(std::uint32_t address) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(address));
}

}  // namespace

ModulePlatform::Block WindowsModulePlatform::allocate(std::uint32_t addressHint,
                                                      std::uint32_t size) {
    if (addressHint % kAllocationGranularity != 0 || size == 0) {
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

std::uint32_t WindowsModulePlatform::findProcedure(LibraryHandle library,
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
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(found));
}

int WindowsModulePlatform::callEntryPoint(std::uint32_t entry, std::uint32_t base,
                                          EntryReason reason) {
    using DllEntry = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
    const auto call = reinterpret_cast<DllEntry>(static_cast<std::uintptr_t>(entry));
    return call(static_cast<HINSTANCE>(pointerTo(base)), static_cast<DWORD>(reason), nullptr);
}

}  // namespace sumbrook
