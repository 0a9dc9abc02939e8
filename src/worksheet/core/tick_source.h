#pragma once

#include <QRandomGenerator>
#include <chrono>
#include <cstdint>

namespace sumbrook {

// The system tick count that Reseed reads: milliseconds since some fixed moment, wrapping
// at 2^32. Tests and "--seed" put a fixed value in its place.
class TickSource {
  public:
    virtual ~TickSource() = default;
    virtual std::uint32_t ticks() = 0;
};

// The tick count plus an offset drawn once from the system's entropy source, so that two
// sheets made in the same millisecond, by two runs or two windows, still differ.
class SystemTickSource final : public TickSource {
  public:
    SystemTickSource() : offset_(QRandomGenerator::system()->generate()) {}
    std::uint32_t ticks() override {
        return offset_ +
               static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }

  private:
    std::uint32_t offset_;
};

class FixedTickSource final : public TickSource {
  public:
    explicit FixedTickSource(std::uint32_t value) : value_(value) {}
    std::uint32_t ticks() override { return value_; }

  private:
    std::uint32_t value_;
};

// A chosen seed spread over the whole tick range (the finaliser of splitmix64), so that
// nearby seeds start the generator in unrelated places: the generator's high output bits
// follow small changes of its state for many draws.
constexpr std::uint32_t mixSeed(std::uint64_t seed) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<std::uint32_t>(z ^ (z >> 32));
}

// The ticks of a run given a seed: always the mixed seed.
class SeededTickSource final : public TickSource {
  public:
    explicit SeededTickSource(std::uint64_t seed) : value_(mixSeed(seed)) {}
    std::uint32_t ticks() override { return value_; }

  private:
    std::uint32_t value_;
};

}  // namespace sumbrook
