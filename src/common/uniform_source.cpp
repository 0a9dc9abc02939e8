#include "uniform_source.h"

namespace sumbrook {

SeededUniformSource SeededUniformSource::fromEntropy() {
    std::random_device device;
    const std::uint64_t seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    return SeededUniformSource(seed);
}

}  // namespace sumbrook
