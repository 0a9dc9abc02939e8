#include "common/uniform_source.h"

#include <gtest/gtest.h>

namespace sumbrook {
namespace {

TEST(SeededUniformSource, SameSeedSameSequenceAllInUnitInterval) {
    SeededUniformSource a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 10000; ++i) {
        const double u = a.next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        ASSERT_EQ(u, b.next());
        differs = differs || u != c.next();
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace sumbrook
