#pragma once

#include <cstdint>
#include <random>

namespace sumbrook {

// A source of uniform reals in [0, 1). The practice scene's drawing rules take one so
// that tests can feed exact values and the command line can repeat a run from a seed.
class UniformSource {
  public:
    virtual ~UniformSource() = default;
    virtual double next() = 0;
};

// Uniform reals from a 64-bit Mersenne twister; the same seed gives the same sequence
// on every run and every machine (the conversion to a real is done by hand, not by a
// library distribution whose algorithm may differ between implementations).
class SeededUniformSource final : public UniformSource {
  public:
    explicit SeededUniformSource(std::uint64_t seed) : engine_(seed) {}
    // Seeded from the system's entropy source.
    static SeededUniformSource fromEntropy();

    double next() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  private:
    std::mt19937_64 engine_;
};

}  // namespace sumbrook
