#include "random_draws.h"

namespace sumbrook {

int drawUpTo(UniformSource& source, int n) {
    return static_cast<int>(source.next() * n - 0.001) + 1;
}

int coin(UniformSource& source) {
    return static_cast<int>(source.next() * 2 - 0.00001);
}

int choice(UniformSource& source, int count) {
    return static_cast<int>(source.next() * count);
}

int pickOfThree(UniformSource& source) {
    return static_cast<int>(source.next() * 3 - 0.0000001);
}

}  // namespace sumbrook
