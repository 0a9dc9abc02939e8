#pragma once

#include <QByteArray>

namespace sumbrook {

// The skin module (a shared object of this machine exporting SkinH_AttachRes and
// SkinH_Detach) as the bytes the build embedded; MemoryModule loads it from memory. The
// array is constant program data that lives as long as the process. Empty where the build
// has no such module.
QByteArray skinModuleBytes();

class MemoryModule;
// Loads those bytes into `module` (the program's skinModule); false when they did not load.
bool LoadEmbeddedSkinModule(MemoryModule& module);

}  // namespace sumbrook
