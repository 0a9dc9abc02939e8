#include "expression_generator.h"

#include <array>
#include <stdexcept>

#include "random_draws.h"

namespace sumbrook {

namespace {

enum class ChainRange { Ten, Twenty, Hundred };
enum class ChainForm { Addition, Subtraction };

struct ChainBounds {
    int q1Bound;  // q1 = drawUpTo(q1Bound), redrawn up to twice while above q1Limit
    int q1Limit;
    int q2Base;  // q2 = drawUpTo(q2Base − q1), redrawn once if above q2Limit
    int q2Limit;
    int q3Base;  // q3 = drawUpTo(q3Base − q1 − q2)
};

ChainBounds boundsOf(ChainRange range) {
    switch (range) {
        case ChainRange::Ten:
            return {8, 4, 9, 4, 9};
        case ChainRange::Twenty:
            return {18, 10, 19, 10, 20};
        case ChainRange::Hundred:
            return {98, 50, 99, 10, 100};
    }
    return {8, 4, 9, 4, 9};
}

// A random order of the positions 0, 1, 2. Each entry is drawn from {1, 2, 3} and drawn
// again while it repeats an earlier one; a source that keeps repeating itself cannot hold
// the generator for ever, the last free position is taken after many tries.
std::array<int, 3> drawOrder(UniformSource& source) {
    constexpr int kMaxTries = 1000;
    std::array<int, 3> order{};
    for (int k = 0; k < 3; ++k) {
        auto taken = [&](int position) {
            for (int j = 0; j < k; ++j) {
                if (order[static_cast<std::size_t>(j)] == position) {
                    return true;
                }
            }
            return false;
        };
        int position = drawUpTo(source, 3) - 1;
        for (int tries = 1; taken(position); ++tries) {
            if (tries >= kMaxTries) {
                position = 0;
                while (taken(position)) {
                    ++position;
                }
                break;
            }
            position = drawUpTo(source, 3) - 1;
        }
        order[static_cast<std::size_t>(k)] = position;
    }
    return order;
}

QString join(std::initializer_list<int> numbers, const QString& separator) {
    QString text;
    for (int n : numbers) {
        if (!text.isEmpty()) {
            text += separator;
        }
        text += QString::number(n);
    }
    return text;
}

struct Chain {
    int x;
    int y;
    int z;
};

// The display order first, then the three numbers; x, y, z are the numbers in that order.
Chain drawChain(UniformSource& source, ChainRange range) {
    const std::array<int, 3> order = drawOrder(source);
    const ChainBounds bounds = boundsOf(range);
    int q1 = drawUpTo(source, bounds.q1Bound);
    for (int redraws = 0; q1 > bounds.q1Limit && redraws < 2; ++redraws) {
        q1 = drawUpTo(source, bounds.q1Bound);
    }
    int q2 = drawUpTo(source, bounds.q2Base - q1);
    if (q2 > bounds.q2Limit) {
        q2 = drawUpTo(source, bounds.q2Base - q1);
    }
    const int q3 = drawUpTo(source, bounds.q3Base - q1 - q2);
    const std::array<int, 3> q{q1, q2, q3};
    return {q[static_cast<std::size_t>(order[0])], q[static_cast<std::size_t>(order[1])],
            q[static_cast<std::size_t>(order[2])]};
}

ExpressionQuestion written(const Chain& chain, ChainForm form) {
    const int t = chain.x + chain.y + chain.z;
    if (form == ChainForm::Addition) {
        return {join({chain.x, chain.y, chain.z}, QStringLiteral(" + ")), t};
    }
    return {join({t, chain.y, chain.z}, QStringLiteral(" - ")), chain.x};
}

ExpressionQuestion chainedTriple(UniformSource& source, ChainRange range, ChainForm form) {
    return written(drawChain(source, range), form);
}

// Chained triple, then choice: 0 subtraction, 1 addition.
ExpressionQuestion chainedEitherWay(UniformSource& source, ChainRange range) {
    const Chain chain = drawChain(source, range);
    return written(chain, choice(source, 2) == 0 ? ChainForm::Subtraction : ChainForm::Addition);
}

struct Signs {
    QString plus;
    QString minus;
};

Signs signs(bool spaced) {
    if (spaced) {
        return {QStringLiteral(" + "), QStringLiteral(" - ")};
    }
    return {QStringLiteral("+"), QStringLiteral("-")};
}

// a − b + c with the answer in 1..bound.
ExpressionQuestion minusThenPlus(UniformSource& source, int bound, bool spaced) {
    const int a = drawUpTo(source, bound - 1);
    const int b = drawUpTo(source, a - 1);
    const int c = drawUpTo(source, bound - a + b);
    const Signs s = signs(spaced);
    return {QString::number(a) + s.minus + QString::number(b) + s.plus + QString::number(c),
            a - b + c};
}

// a + b − c with the answer in 1..bound.
ExpressionQuestion plusThenMinus(UniformSource& source, int bound, bool spaced) {
    const int a = drawUpTo(source, bound - 1);
    const int b = drawUpTo(source, bound - a);
    const int c = drawUpTo(source, a + b - 1);
    const Signs s = signs(spaced);
    return {QString::number(a) + s.plus + QString::number(b) + s.minus + QString::number(c),
            a + b - c};
}

ExpressionQuestion mixed(UniformSource& source, int bound, bool spaced) {
    return choice(source, 2) == 0 ? minusThenPlus(source, bound, spaced)
                                  : plusThenMinus(source, bound, spaced);
}

// a + b or (a + b) − a, written with spaced signs.
ExpressionQuestion twoNumbers(UniformSource& source, int bound) {
    const int f = coin(source);
    const int a = drawUpTo(source, bound - 1);
    const int b = drawUpTo(source, bound - 1 - a);
    if (f == 0) {
        return {join({a, b}, QStringLiteral(" + ")), a + b};
    }
    return {join({a + b, a}, QStringLiteral(" - ")), b};
}

}  // namespace

ExpressionQuestion ExpressionGenerator::generate(int xiangm, UniformSource& source) {
    switch (xiangm) {
        case 25:
            return chainedTriple(source, ChainRange::Ten, ChainForm::Addition);
        case 26:
            return chainedTriple(source, ChainRange::Ten, ChainForm::Subtraction);
        case 27:
            return chainedEitherWay(source, ChainRange::Ten);
        case 28:
            return mixed(source, 10, true);
        case 29:
            return chainedTriple(source, ChainRange::Twenty, ChainForm::Addition);
        case 30:
            return chainedTriple(source, ChainRange::Twenty, ChainForm::Subtraction);
        case 31:
            return chainedEitherWay(source, ChainRange::Twenty);
        case 32:
            return mixed(source, 20, false);
        case 34:
            switch (choice(source, 4)) {
                case 0:
                    return minusThenPlus(source, 20, false);
                case 1:
                    return plusThenMinus(source, 20, false);
                case 2:
                    return chainedEitherWay(source, ChainRange::Twenty);
                default:
                    return twoNumbers(source, 20);
            }
        case 35:
            switch (choice(source, 4)) {
                case 0:
                    return minusThenPlus(source, 100, false);
                case 1:
                    return plusThenMinus(source, 100, false);
                case 2:
                    return twoNumbers(source, 100);
                default:
                    return chainedEitherWay(source, ChainRange::Hundred);
            }
        default:
            throw std::invalid_argument("not an expression exercise");
    }
}

}  // namespace sumbrook
