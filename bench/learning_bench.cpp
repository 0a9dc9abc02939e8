// The learning rules over a year of one child's daily practice (100,000 answers to about
// 500 facts of every kind): what building the fact states costs, with the due list and the
// review the practice scene asks for when a review run starts.
#include <benchmark/benchmark.h>
#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <random>

#include "learning/fact_learning.h"
#include "learning/next_step.h"

namespace sumbrook {
namespace {

constexpr int kDays = 365;
constexpr int kAnswersPerDay = 274;  // 100,010 answers in the year

struct Met {
    PracticeFact fact;
    int exercise;
};

PracticeFact written(std::vector<int> terms, const QString& signs, int blank) {
    PracticeFact fact;
    fact.kind = terms.size() > 2 ? FactKind::Expression : FactKind::TwoNumber;
    int result = terms.front();
    for (qsizetype i = 0; i < signs.size(); ++i) {
        result += signs[i] == u'+' ? terms[static_cast<std::size_t>(i) + 1]
                                   : -terms[static_cast<std::size_t>(i) + 1];
    }
    terms.push_back(result);
    fact.numbers = std::move(terms);
    fact.signs = signs;
    fact.blank = blank < 0 ? static_cast<int>(fact.numbers.size()) - 1 : blank;
    return fact;
}

// About 500 facts: sums and differences within 20, fill-the-blank, tens and ones, chains
// of three terms, every clock time and every money picture.
std::vector<Met> factsOfTheYear() {
    std::vector<Met> facts;
    for (int a = 1; a <= 10; ++a) {
        for (int b = 1; b <= 10; ++b) {
            facts.push_back({written({a, b}, QStringLiteral("+"), -1), a + b <= 10 ? 4 : 11});
            facts.push_back({written({a + 9, b}, QStringLiteral("-"), -1), 12});
        }
    }
    for (int a = 1; a <= 9; ++a) {
        for (int b = 1; b <= 5; ++b) {
            facts.push_back({written({a, b}, QStringLiteral("+"), 1), 16});
            facts.push_back({written({a * 10, b}, QStringLiteral("+"), -1), 17});
            facts.push_back({written({a, b}, QStringLiteral("+"), 0), 16});
        }
    }
    for (int a = 1; a <= 5; ++a) {
        for (int b = 1; b <= 5; ++b) {
            facts.push_back({written({a, b, 3}, QStringLiteral("+-"), -1), 28});
            facts.push_back({written({a, b, 4}, QStringLiteral("++"), -1), 25});
            facts.push_back({written({a + 10, b, 2}, QStringLiteral("--"), -1), 30});
        }
    }
    for (int hour = 1; hour <= 12; ++hour) {
        for (int minute = 0; minute < 60; minute += 15) {
            PracticeFact clock;
            clock.kind = FactKind::Clock;
            clock.hour = hour;
            clock.minute = minute;
            facts.push_back({clock, 36});
        }
    }
    for (int picture = 1; picture <= 47; ++picture) {
        PracticeFact money;
        money.kind = FactKind::Money;
        money.picture = picture;
        money.money = picture % 10 + 1;
        money.unit = QStringLiteral("角");
        facts.push_back({money, 37});
    }
    return facts;
}

// The year as the journal gives it: ordered by fact key, then time. A few facts come up
// far more often than others, some are stumbling blocks, answers get faster over the year.
QVector<FactAnswer> yearOfAnswers() {
    const std::vector<Met> facts = factsOfTheYear();
    std::vector<QString> keys;
    for (const Met& m : facts) {
        keys.push_back(m.fact.key());
    }
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::normal_distribution<double> normal;
    const QDateTime first(QDate(2026, 1, 1), QTime(17, 0), QTimeZone(8 * 3600));

    std::vector<std::pair<std::size_t, FactAnswer>> rows;
    rows.reserve(static_cast<std::size_t>(kDays) * kAnswersPerDay);
    for (int d = 0; d < kDays; ++d) {
        const double progress = static_cast<double>(d) / (kDays - 1);
        std::int64_t atMs = first.addDays(d).toMSecsSinceEpoch();
        for (int q = 0; q < kAnswersPerDay; ++q) {
            const auto which = static_cast<std::size_t>(std::pow(uniform(random), 1.6) *
                                                        static_cast<double>(facts.size()));
            const bool troublesome = which % 13 == 0;
            const bool right = uniform(random) >= (troublesome ? 0.45 : 0.09 - 0.04 * progress);
            const auto ms = static_cast<std::int64_t>(std::clamp(
                (6000.0 - 2500.0 * progress) * std::exp(0.35 * normal(random)), 900.0, 60000.0));
            atMs += ms + 1500;
            FactAnswer a;
            a.fact = facts[which].fact;
            a.exercise = facts[which].exercise;
            a.expected =
                QString::number(a.fact.numbers.empty() ? a.fact.money : a.fact.numbers.back());
            a.typed = right ? a.expected : QStringLiteral("0");
            a.atMs = atMs;
            a.day = first.date().addDays(d);
            a.right = right;
            a.ms = ms;
            rows.emplace_back(which, std::move(a));
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const auto& x, const auto& y) { return keys[x.first] < keys[y.first]; });
    QVector<FactAnswer> answers;
    answers.reserve(static_cast<qsizetype>(rows.size()));
    // Copied, not moved: rows read from the journal in key order lie in memory in that order.
    for (const auto& row : rows) {
        answers.push_back(row.second);
    }
    return answers;
}

void BM_ReviewOfAYear(benchmark::State& state) {
    const QVector<FactAnswer> answers = yearOfAnswers();
    const QDate today(2027, 1, 1);
    std::size_t due = 0;
    std::size_t run = 0;
    for (auto _ : state) {
        const FactLearning learning(answers);
        due = learning.due(today).size();
        run = learning.review(today).size();
        benchmark::DoNotOptimize(run);
    }
    state.counters["answers"] = static_cast<double>(answers.size());
    state.counters["facts"] = static_cast<double>(FactLearning(answers).facts().size());
    state.counters["due"] = static_cast<double>(due);
    state.counters["review"] = static_cast<double>(run);
}
BENCHMARK(BM_ReviewOfAYear)->Unit(benchmark::kMillisecond);

// The parent's window: the next step from the year's standings.
void BM_NextStepOfAYear(benchmark::State& state) {
    const FactLearning learning(yearOfAnswers());
    for (auto _ : state) {
        benchmark::DoNotOptimize(NextStep::of(learning.facts()));
    }
}
BENCHMARK(BM_NextStepOfAYear)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sumbrook

BENCHMARK_MAIN();
