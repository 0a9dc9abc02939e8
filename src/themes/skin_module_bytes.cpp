#include "themes/skin_module_bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/embedded_bytes.h"
#include "themes/memory_module.h"

namespace sumbrook::embedded {
extern const unsigned char kSkinModule[];
extern const std::size_t kSkinModuleSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray skinModuleBytes() {
    return embeddedBytes(embedded::kSkinModule, embedded::kSkinModuleSize);
}

bool LoadEmbeddedSkinModule(MemoryModule& module) {
    const QByteArray bytes = skinModuleBytes();
    return module.Load(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())));
}

}  // namespace sumbrook
