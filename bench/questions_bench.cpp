// Questions generated per second, one benchmark per exercise family.
#include <benchmark/benchmark.h>

#include <array>

#include "common/uniform_source.h"
#include "practice/core/question_generator.h"

namespace sumbrook {
namespace {

template <std::size_t N>
void generateFamily(benchmark::State& state, const std::array<int, N>& exercises) {
    SeededUniformSource source(2024);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(QuestionGenerator::generate(exercises[i % N], source));
        ++i;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_TwoNumber(benchmark::State& state) {
    constexpr std::array<int, 25> kExercises{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                             14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 33};
    generateFamily(state, kExercises);
}

void BM_Expression(benchmark::State& state) {
    constexpr std::array<int, 10> kExercises{25, 26, 27, 28, 29, 30, 31, 32, 34, 35};
    generateFamily(state, kExercises);
}

void BM_Money(benchmark::State& state) {
    generateFamily(state, std::array<int, 1>{37});
}

void BM_Clock(benchmark::State& state) {
    generateFamily(state, std::array<int, 1>{36});
}

BENCHMARK(BM_TwoNumber);
BENCHMARK(BM_Expression);
BENCHMARK(BM_Money);
BENCHMARK(BM_Clock);

}  // namespace
}  // namespace sumbrook
