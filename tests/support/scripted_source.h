#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "common/uniform_source.h"

namespace sumbrook::testing {

// A uniform source that hands out exactly the values a test lists, so each draw of a
// generator can be steered. Running out is a test failure (a generator drew more often
// than the test expected) and yields 0.
class ScriptedSource final : public UniformSource {
  public:
    ScriptedSource() = default;
    ScriptedSource(std::initializer_list<double> values) : values_(values) {}
    explicit ScriptedSource(std::vector<double> values) : values_(std::move(values)) {}

    void push(double u) { values_.push_back(u); }
    double next() override {
        if (next_ >= values_.size()) {
            ADD_FAILURE() << "the scripted source ran out after " << values_.size() << " draws";
            return 0.0;
        }
        return values_[next_++];
    }
    std::size_t drawn() const { return next_; }
    std::size_t remaining() const { return values_.size() - next_; }

  private:
    std::vector<double> values_;
    std::size_t next_ = 0;
};

// A u for which drawUpTo(n) gives k (1 ≤ k ≤ n).
inline double drawing(int k, int n) {
    return (k - 0.5) / n;
}
// A u for which the coin shows side (0 or 1).
inline double coinShowing(int side) {
    return side == 0 ? 0.25 : 0.75;
}
// A u for which trunc(u × count) gives k.
inline double choosing(int k, int count) {
    return (k + 0.5) / count;
}

}  // namespace sumbrook::testing
