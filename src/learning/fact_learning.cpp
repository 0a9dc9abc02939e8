#include "fact_learning.h"

namespace sumbrook {

// The rules are still to come: for now every fact the child met is listed, none is due.
FactLearning::FactLearning(const QVector<FactAnswer>& answers) {
    for (const FactAnswer& answer : answers) {
        if (facts_.empty() || !(facts_.back().fact == answer.fact)) {
            FactStanding fresh;
            fresh.fact = answer.fact;
            fresh.exercise = answer.exercise;
            fresh.expected = answer.expected;
            facts_.push_back(fresh);
        }
        FactStanding& f = facts_.back();
        ++f.asked;
        f.missed += answer.right ? 0 : 1;
    }
}

std::vector<FactStanding> FactLearning::due(const QDate&) const {
    return {};
}

std::vector<ReviewItem> FactLearning::review(const QDate&) const {
    return {};
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

std::int64_t TypingSpeed::thresholdMs(int answerDigits) const {
    return 3000 + (answerDigits + 1) * keyMs;
}

}  // namespace sumbrook
