#include "moviehost/movie_bytes.h"

#include <cstddef>

#include "common/embedded_bytes.h"

namespace sumbrook::embedded {
extern const unsigned char kMovie[];
extern const std::size_t kMovieSize;
}  // namespace sumbrook::embedded

namespace sumbrook {

QByteArray movieBytes() {
    return embeddedBytes(embedded::kMovie, embedded::kMovieSize);
}

}  // namespace sumbrook
