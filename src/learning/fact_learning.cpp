#include "fact_learning.h"

#include <algorithm>
#include <numeric>

namespace sumbrook {

namespace {

std::int64_t medianOf(std::vector<std::int64_t> times) {
    if (times.empty()) {
        return 0;
    }
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    if (times.size() % 2 == 1) {
        return *middle;
    }
    return (*std::max_element(times.begin(), middle) + *middle) / 2;
}

// An answer recorded without its day (rows from before days were kept) falls on the
// local date of its time.
QDate dayOf(const FactAnswer& answer) {
    return answer.day.isValid() ? answer.day : QDateTime::fromMSecsSinceEpoch(answer.atMs).date();
}

}  // namespace

FactLearning::FactLearning(const QVector<FactAnswer>& answers) {
    // Gather each fact's answers; the key is only worked out where the fact changes.
    std::vector<std::vector<qsizetype>> groups;
    std::vector<QString> keys;
    std::size_t current = 0;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        if (i == 0 || !(answers[i].fact == answers[i - 1].fact)) {
            const QString key = answers[i].fact.key();
            const auto found = byKey_.constFind(key);
            if (found == byKey_.constEnd()) {
                current = groups.size();
                byKey_.insert(key, current);
                groups.emplace_back();
                keys.push_back(key);
            } else {
                current = *found;
            }
        }
        groups[current].push_back(i);
    }

    // The key time is read off every one-digit fact before any fact is judged by it.
    std::vector<int> digits(groups.size());
    std::vector<std::int64_t> oneDigitRightMs;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        digits[g] = answers[groups[g].front()].fact.answerDigits();
        if (digits[g] != 1) {
            continue;
        }
        for (const qsizetype row : groups[g]) {
            if (answers[row].right) {
                oneDigitRightMs.push_back(answers[row].ms);
            }
        }
    }
    speed_ = TypingSpeed::measure(std::move(oneDigitRightMs));

    std::vector<std::size_t> order(groups.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

    facts_.reserve(groups.size());
    details_.reserve(groups.size());
    byKey_.clear();
    for (const std::size_t g : order) {
        std::vector<qsizetype>& rows = groups[g];
        const auto byTime = [&](qsizetype a, qsizetype b) {
            return answers[a].atMs < answers[b].atMs;
        };
        if (!std::is_sorted(rows.begin(), rows.end(), byTime)) {
            std::stable_sort(rows.begin(), rows.end(), byTime);
        }

        const FactAnswer& latest = answers[rows.back()];
        FactStanding f;
        Detail d;
        f.fact = latest.fact;
        f.exercise = latest.exercise;
        f.expected = latest.expected;
        f.asked = static_cast<int>(rows.size());
        f.lastAsked = QDateTime::fromMSecsSinceEpoch(latest.atMs);
        d.key = keys[g];
        d.askable = questionOf(f.fact).has_value();

        const std::int64_t threshold = speed_.thresholdMs(digits[g]);
        std::vector<std::int64_t> times;
        times.reserve(rows.size());
        for (const qsizetype row : rows) {
            const FactAnswer& a = answers[row];
            times.push_back(a.ms);
            if (!a.right) {
                ++f.missed;
                d.lastMissMs = a.atMs;
            }
            f.box.answered(dayOf(a), a.right, a.right && a.ms <= threshold);
        }
        f.medianMs = medianOf(times);

        const auto recent = std::min<std::size_t>(rows.size(), kRecentAsks);
        int fast = 0;
        bool missedRecently = false;
        for (std::size_t i = rows.size() - recent; i < rows.size(); ++i) {
            const FactAnswer& a = answers[rows[i]];
            missedRecently = missedRecently || !a.right;
            fast += a.right && a.ms <= threshold ? 1 : 0;
        }
        f.state = missedRecently            ? Fluency::Learning
                  : fast >= kFastToBeFluent ? Fluency::Fluent
                                            : Fluency::Slow;
        d.overMs = medianOf(std::vector<std::int64_t>(
                       times.end() - static_cast<std::ptrdiff_t>(recent), times.end())) -
                   threshold;

        byKey_.insert(d.key, facts_.size());
        facts_.push_back(std::move(f));
        details_.push_back(std::move(d));
    }
}

FactStanding FactLearning::standing(const PracticeFact& fact) const {
    const auto found = byKey_.constFind(fact.key());
    if (found != byKey_.constEnd()) {
        return facts_[*found];
    }
    FactStanding fresh;
    fresh.fact = fact;
    return fresh;
}

std::vector<std::size_t> FactLearning::dueOrder(const QDate& today) const {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < facts_.size(); ++i) {
        if (facts_[i].box.isDue(today)) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const FactStanding& fa = facts_[a];
        const FactStanding& fb = facts_[b];
        if (fa.box.due != fb.box.due) {
            return fa.box.due < fb.box.due;
        }
        if (fa.missed != fb.missed) {
            return fa.missed > fb.missed;
        }
        if (details_[a].lastMissMs != details_[b].lastMissMs) {
            return details_[a].lastMissMs > details_[b].lastMissMs;
        }
        return details_[a].key < details_[b].key;
    });
    return order;
}

std::vector<FactStanding> FactLearning::due(const QDate& today) const {
    std::vector<FactStanding> list;
    for (const std::size_t i : dueOrder(today)) {
        list.push_back(facts_[i]);
    }
    return list;
}

std::vector<ReviewItem> FactLearning::review(const QDate& today) const {
    const auto full = static_cast<std::size_t>(kReviewLength);
    std::vector<ReviewItem> run;
    const auto add = [&](std::size_t i, bool due) {
        run.push_back({facts_[i].fact, facts_[i].exercise, due});
    };
    for (const std::size_t i : dueOrder(today)) {
        if (details_[i].askable && run.size() < full) {
            add(i, true);
        }
    }
    if (run.size() >= full) {
        return run;
    }

    // A slow fact that is also due is in the run already.
    std::vector<std::size_t> slow;
    for (std::size_t i = 0; i < facts_.size(); ++i) {
        if (facts_[i].state == Fluency::Slow && details_[i].askable &&
            !facts_[i].box.isDue(today)) {
            slow.push_back(i);
        }
    }
    std::sort(slow.begin(), slow.end(), [&](std::size_t a, std::size_t b) {
        if (details_[a].overMs != details_[b].overMs) {
            return details_[a].overMs > details_[b].overMs;
        }
        return details_[a].key < details_[b].key;
    });
    for (const std::size_t i : slow) {
        if (run.size() >= full) {
            break;
        }
        add(i, false);
    }
    return run;
}

QString fluencyName(Fluency state) {
    switch (state) {
        case Fluency::New:
            return QStringLiteral("new");
        case Fluency::Learning:
            return QStringLiteral("learning");
        case Fluency::Slow:
            return QStringLiteral("slow");
        case Fluency::Fluent:
            return QStringLiteral("fluent");
    }
    return {};
}

}  // namespace sumbrook
