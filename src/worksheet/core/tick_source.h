#pragma once

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

class SystemTickSource final : public TickSource {
  public:
    std::uint32_t ticks() override {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
};

class FixedTickSource final : public TickSource {
  public:
    explicit FixedTickSource(std::uint32_t value) : value_(value) {}
    std::uint32_t ticks() override { return value_; }

  private:
    std::uint32_t value_;
};

}  // namespace sumbrook
