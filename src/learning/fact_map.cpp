#include "fact_map.h"

#include <cassert>

namespace sumbrook {

namespace {

// Learning first: the cell reads as the least known of its questions.
int knownness(Fluency state) {
    switch (state) {
        case Fluency::Learning:
            return 0;
        case Fluency::Slow:
            return 1;
        case Fluency::Fluent:
            return 2;
        case Fluency::New:
            break;
    }
    return 3;
}

FactCell emptyCell(int a, int b, QChar sign) {
    FactCell cell;
    cell.a = a;
    cell.b = b;
    cell.sign = sign;
    return cell;
}

std::size_t subtractionIndex(int a, int b) {
    return static_cast<std::size_t>(a * (a + 1) / 2 + b);
}

}  // namespace

FactMap::FactMap(const FactLearning& learning) {
    additions_.resize((kAddendMax + 1) * (kAddendMax + 1));
    subtractions_.resize(subtractionIndex(kMinuendMax, kMinuendMax) + 1);
    for (int a = 0; a <= kAddendMax; ++a) {
        for (int b = 0; b <= kAddendMax; ++b) {
            additions_[static_cast<std::size_t>(a * (kAddendMax + 1) + b)] = emptyCell(a, b, u'+');
        }
    }
    for (int a = 0; a <= kMinuendMax; ++a) {
        for (int b = 0; b <= a; ++b) {
            subtractions_[subtractionIndex(a, b)] = emptyCell(a, b, u'-');
        }
    }
    for (const FactStanding& standing : learning.facts()) {
        const PracticeFact& f = standing.fact;
        if (f.kind != FactKind::TwoNumber || f.numbers.size() != 3 || f.signs.size() != 1) {
            continue;
        }
        const int a = f.numbers[0];
        const int b = f.numbers[1];
        FactCell* cell = nullptr;
        if (f.signs == QStringLiteral("+") && a >= 0 && b >= 0 && a <= kAddendMax &&
            b <= kAddendMax) {
            cell = &additions_[static_cast<std::size_t>(a * (kAddendMax + 1) + b)];
        } else if (f.signs == QStringLiteral("-") && b >= 0 && a >= b && a <= kMinuendMax) {
            cell = &subtractions_[subtractionIndex(a, b)];
        }
        if (cell == nullptr) {
            continue;
        }
        cell->met.push_back(standing);
        if (knownness(standing.state) < knownness(cell->state)) {
            cell->state = standing.state;
        }
    }
}

const FactCell& FactMap::addition(int a, int b) const {
    assert(a >= 0 && b >= 0 && a <= kAddendMax && b <= kAddendMax);
    return additions_[static_cast<std::size_t>(a * (kAddendMax + 1) + b)];
}

const FactCell& FactMap::subtraction(int a, int b) const {
    assert(b >= 0 && a >= b && a <= kMinuendMax);
    return subtractions_[subtractionIndex(a, b)];
}

int FactMap::count(Fluency state) const {
    int n = 0;
    for (const auto* grid : {&additions_, &subtractions_}) {
        for (const FactCell& cell : *grid) {
            n += cell.state == state ? 1 : 0;
        }
    }
    return n;
}

}  // namespace sumbrook
