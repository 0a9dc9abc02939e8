#include "moviehost/movie_bytes.h"

#include <cstddef>

namespace sumbrook::embedded {
extern const unsigned char kMovie[];
extern const std::size_t kMovieSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray movieBytes() {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(embedded::kMovie),
                                   static_cast<qsizetype>(embedded::kMovieSize));
}

}  // namespace sumbrook
