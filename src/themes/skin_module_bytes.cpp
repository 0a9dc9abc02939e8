#include "themes/skin_module_bytes.h"

#include <cstddef>

namespace sumbrook::embedded {
extern const unsigned char kSkinModule[];
extern const std::size_t kSkinModuleSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray skinModuleBytes() {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(embedded::kSkinModule),
                                   static_cast<qsizetype>(embedded::kSkinModuleSize));
}

}  // namespace sumbrook
