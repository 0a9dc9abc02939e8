#include "themes/skin_block.h"

#include <cstddef>

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

namespace {

QByteArray raw(const unsigned char* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

}  // namespace

QByteArray skinBlock(int row) {
    using namespace embedded;
    switch (row) {
        case 1:
            return raw(kSilverSkin, kSilverSkinSize);
        case 2:
            return raw(kGreySkin, kGreySkinSize);
        case 3:
            return raw(kBlackSkin, kBlackSkinSize);
        case 4:
            return raw(kSpringSkin, kSpringSkinSize);
        case 5:
            return raw(kAutumnSkin, kAutumnSkinSize);
        case 6:
            return raw(kBlueSkin, kBlueSkinSize);
        case 7:
            return raw(kPurpleSkin, kPurpleSkinSize);
        default:
            return {};
    }
}

}  // namespace sumbrook
