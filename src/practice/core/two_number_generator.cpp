#include "two_number_generator.h"

#include <stdexcept>

#include "random_draws.h"

namespace sumbrook {

namespace {

TwoNumberQuestion sum(int a, int b) {
    return {QString::number(a), QStringLiteral("+"),   QString::number(b),
            QString(),          BlankPosition::Result, a + b};
}

TwoNumberQuestion difference(int minuend, int subtrahend) {
    return {QString::number(minuend), QStringLiteral("-"), QString::number(subtrahend), QString(),
            BlankPosition::Result,    minuend - subtrahend};
}

struct Pair {
    int a;
    int b;
};

// a = drawUpTo(bound); b = drawUpTo(bound − a).
Pair drawPairWithin(UniformSource& source, int bound) {
    const int a = drawUpTo(source, bound);
    const int b = drawUpTo(source, bound - a);
    return {a, b};
}

TwoNumberQuestion sumWithin(UniformSource& source, int bound) {
    const auto [a, b] = drawPairWithin(source, bound);
    return sum(a, b);
}

// (a + b) − a = ?
TwoNumberQuestion differenceWithin(UniformSource& source, int bound) {
    const auto [a, b] = drawPairWithin(source, bound);
    return difference(a + b, a);
}

TwoNumberQuestion sumOrDifferenceWithin(UniformSource& source, int bound) {
    return coin(source) == 0 ? sumWithin(source, bound) : differenceWithin(source, bound);
}

// The four fill-the-blank forms over a + b = s.
TwoNumberQuestion fillTheBlank(UniformSource& source, int bound) {
    const int f1 = coin(source);
    const int f2 = coin(source);
    const auto [a, b] = drawPairWithin(source, bound);
    const int s = a + b;
    const QString plus = QStringLiteral("+");
    const QString minus = QStringLiteral("-");
    const QString na = QString::number(a), nb = QString::number(b), ns = QString::number(s);
    if (f2 == 0) {
        if (f1 == 0) {
            return {QString(), plus, nb, ns, BlankPosition::Left, a};  // □ + b = s
        }
        return {QString(), minus, na, nb, BlankPosition::Left, s};  // □ − a = b
    }
    if (f1 == 0) {
        return {na, plus, QString(), ns, BlankPosition::Right, b};  // a + □ = s
    }
    return {ns, minus, QString(), na, BlankPosition::Right, b};  // s − □ = a
}

TwoNumberQuestion makeTen(UniformSource& source) {
    const int f2 = coin(source);
    const int a = drawUpTo(source, 9);
    const int b = 10 - a;
    const QString ten = QStringLiteral("10");
    if (f2 == 0) {
        return {QString(), QStringLiteral("+"), QString::number(b), ten, BlankPosition::Left, a};
    }
    return {QString::number(a), QStringLiteral("+"), QString(), ten, BlankPosition::Right, b};
}

}  // namespace

TwoNumberQuestion TwoNumberGenerator::generate(int xiangm, UniformSource& source) {
    switch (xiangm) {
        case 1:
            return sumWithin(source, 4);
        case 2:
            return differenceWithin(source, 4);
        case 3:
            return sumOrDifferenceWithin(source, 4);
        case 4:
            return sumWithin(source, 9);
        case 5:
            return differenceWithin(source, 9);
        case 6:
            return sumOrDifferenceWithin(source, 9);
        case 7:
            return fillTheBlank(source, 9);
        case 8:
            return makeTen(source);
        case 9: {
            const int tensOnRight = coin(source);
            auto [a, b] = drawPairWithin(source, 9);
            (tensOnRight == 0 ? a : b) += 10;
            return sum(a, b);
        }
        case 10: {
            const auto [a, b] = drawPairWithin(source, 9);
            return difference(a + b + 10, a);
        }
        case 11:
        case 12: {
            const int a = drawUpTo(source, 8) + 1;
            const int b = drawUpTo(source, a - 1) + 10 - a;
            return xiangm == 11 ? sum(a, b) : difference(a + b, a);
        }
        case 13:
            return sumWithin(source, 19);
        case 14:
            return differenceWithin(source, 19);
        case 15:
            return sumOrDifferenceWithin(source, 19);
        case 16:
            return fillTheBlank(source, 19);
        case 17:
        case 18: {
            const int a = 10 * drawUpTo(source, 8);
            const int b = drawUpTo(source, 8);
            return xiangm == 17 ? sum(a, b) : difference(a, b);
        }
        case 19: {
            const int a = drawUpTo(source, 9);
            const int b = 10 * drawUpTo(source, 9 - a);
            return sum(10 * a, b);
        }
        case 20: {
            const int a = 10 * drawUpTo(source, 9);
            const int b = 10 * drawUpTo(source, 9 - a / 10);
            return difference(a + b, a);
        }
        case 21: {
            const int a = drawUpTo(source, 9);
            const int b = drawUpTo(source, 9);
            return sum(10 * a, b);
        }
        case 22: {
            const int a = drawUpTo(source, 8);
            const int b = drawUpTo(source, 88 - 10 * a) + 9;
            return sum(b, 10 * a);
        }
        case 23: {
            const int a = drawUpTo(source, 88) + 10;
            const int b = drawUpTo(source, 8);
            return difference(a, b);
        }
        case 24: {
            const int a = 10 * drawUpTo(source, 8);
            const int b = drawUpTo(source, 98 - a) + a;
            return difference(b, a);
        }
        case 33:
            return fillTheBlank(source, 99);
        default:
            throw std::invalid_argument("not a two-number exercise");
    }
}

}  // namespace sumbrook
