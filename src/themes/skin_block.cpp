#include "themes/skin_block.h"

#include <cstddef>

#include "common/embedded_bytes.h"

namespace sumbrook::embedded {
extern const unsigned char kSilverSkin[];
extern const std::size_t kSilverSkinSize;
extern const unsigned char kGreySkin[];
extern const std::size_t kGreySkinSize;
extern const unsigned char kBlackSkin[];
extern const std::size_t kBlackSkinSize;
extern const unsigned char kSpringSkin[];
extern const std::size_t kSpringSkinSize;
extern const unsigned char kAutumnSkin[];
extern const std::size_t kAutumnSkinSize;
extern const unsigned char kBlueSkin[];
extern const std::size_t kBlueSkinSize;
extern const unsigned char kPurpleSkin[];
extern const std::size_t kPurpleSkinSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray skinBlock(int row) {
    using namespace embedded;
    switch (row) {
        case 1:
            return embeddedBytes(kSilverSkin, kSilverSkinSize);
        case 2:
            return embeddedBytes(kGreySkin, kGreySkinSize);
        case 3:
            return embeddedBytes(kBlackSkin, kBlackSkinSize);
        case 4:
            return embeddedBytes(kSpringSkin, kSpringSkinSize);
        case 5:
            return embeddedBytes(kAutumnSkin, kAutumnSkinSize);
        case 6:
            return embeddedBytes(kBlueSkin, kBlueSkinSize);
        case 7:
            return embeddedBytes(kPurpleSkin, kPurpleSkinSize);
        default:
            return {};
    }
}

}  // namespace sumbrook
