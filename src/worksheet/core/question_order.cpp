#include "question_order.h"

#include <algorithm>
#include <numeric>

namespace sumbrook {

std::vector<int> BuildQuestionOrder(int n, WorksheetRandom& random) {
    std::vector<int> pool(static_cast<std::size_t>(std::max(n, 0)));
    std::iota(pool.begin(), pool.end(), 1);
    random.Reseed();
    std::vector<int> order;
    order.reserve(pool.size());
    while (!pool.empty()) {
        const int k = random.RandomInt(1, static_cast<int>(pool.size()));
        const auto taken = pool.begin() + (k - 1);
        order.push_back(*taken);
        pool.erase(taken);
    }
    return order;
}

}  // namespace sumbrook
