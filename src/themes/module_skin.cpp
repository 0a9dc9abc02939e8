#include "themes/module_skin.h"

namespace sumbrook {

namespace {

// The skin module's entry points; their results are its own and the themes ignore them.
using AttachRes = int (*)(const unsigned char* block, int length, const char* text, int, int, int);
using Detach = int (*)();

}  // namespace

bool ModuleSkin::attach(const QByteArray& block) {
    const std::uintptr_t address = module_.FindExport("SkinH_AttachRes");
    if (address == 0) {
        return false;
    }
    const auto attachRes = reinterpret_cast<AttachRes>(address);
    return attachRes(reinterpret_cast<const unsigned char*>(block.constData()),
                     static_cast<int>(block.size()), nullptr, 0, 0, 0) == 0;
}

void ModuleSkin::detach() {
    if (const std::uintptr_t address = module_.FindExport("SkinH_Detach"); address != 0) {
        reinterpret_cast<Detach>(address)();
    }
}

}  // namespace sumbrook
