#include "progress_records.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <optional>

namespace sumbrook {

namespace {

const QString kMarkerKey = QStringLiteral("jishu123");
const QString kLevelKey = QStringLiteral("jishu120");
const QString kQuestionsKey = QStringLiteral("tishu_ls");
const QString kRightKey = QStringLiteral("tishudui_ls");
const QString kBestTimesKey = QStringLiteral("timels01");

// Whole numbers that a double carries exactly; anything else is damage.
constexpr double kLargestWhole = 9007199254740992.0;  // 2^53

std::optional<std::int64_t> wholeNumber(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > kLargestWhole) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(d);
}

std::int64_t countOrZero(const QJsonValue& value) {
    const auto n = wholeNumber(value);
    return n && *n >= 0 ? *n : 0;
}

QJsonArray noBestTimes() {
    QJsonArray list;
    for (int i = 0; i < ProgressRecords::kSlots; ++i) {
        list.append(static_cast<qint64>(ProgressRecords::kNoBestTime));
    }
    return list;
}

}  // namespace

void ProgressRecords::initialise() {
    store_.setValue(kMarkerKey, kInitialisedMarker);
    store_.setValue(kLevelKey, 0);
    store_.setValue(kQuestionsKey, 0);
    store_.setValue(kRightKey, 0);
    store_.setValue(kBestTimesKey, noBestTimes());
    store_.flush();
}

void ProgressRecords::load() {
    store_.open();
    if (wholeNumber(store_.value(kMarkerKey)) != kInitialisedMarker) {
        initialise();
    }

    timeLs_.fill(kNoBestTime);
    const QJsonValue stored = store_.value(kBestTimesKey);
    const QJsonArray list = stored.toArray();
    // The list as a whole is trusted only when its entry 5 is a whole number; a single
    // other entry that is damaged or negative counts as no best time for its exercise.
    if (stored.isArray() && wholeNumber(list.at(5))) {
        const int n = std::min<int>(kSlots, static_cast<int>(list.size()));
        for (int i = 0; i < n; ++i) {
            const auto entry = wholeNumber(list.at(i));
            if (entry && *entry >= 0) {
                timeLs_[static_cast<std::size_t>(i)] = *entry;
            }
        }
    }

    tishuLs_ = countOrZero(store_.value(kQuestionsKey));
    tishuduiLs_ = countOrZero(store_.value(kRightKey));
}

std::int64_t ProgressRecords::bestTime(int xiangm) const {
    if (xiangm < 0 || xiangm >= kSlots) {
        return kNoBestTime;
    }
    return timeLs_[static_cast<std::size_t>(xiangm)];
}

bool ProgressRecords::recordCompletion(int xiangm, std::int64_t elapsedMs) {
    bool newRecord = false;
    if (xiangm >= 0 && xiangm < kSlots) {
        auto& best = timeLs_[static_cast<std::size_t>(xiangm)];
        if (best > elapsedMs) {
            best = elapsedMs;
            newRecord = true;
        }
    }
    QJsonArray list;
    for (const std::int64_t t : timeLs_) {
        list.append(static_cast<qint64>(t));
    }
    store_.setValue(kBestTimesKey, list);
    store_.flush();
    return newRecord;
}

void ProgressRecords::countQuestion() {
    ++tishuLs_;
    store_.setValue(kQuestionsKey, static_cast<qint64>(tishuLs_));
}

void ProgressRecords::countRightAnswer() {
    ++tishuduiLs_;
    store_.setValue(kRightKey, static_cast<qint64>(tishuduiLs_));
}

void ProgressRecords::raiseCounts(std::int64_t questions, std::int64_t rightAnswers) {
    if (questions > tishuLs_) {
        tishuLs_ = questions;
        store_.setValue(kQuestionsKey, static_cast<qint64>(tishuLs_));
    }
    if (rightAnswers > tishuduiLs_) {
        tishuduiLs_ = rightAnswers;
        store_.setValue(kRightKey, static_cast<qint64>(tishuduiLs_));
    }
}

int ProgressRecords::level() const {
    const auto n = wholeNumber(store_.value(kLevelKey));
    if (!n || *n < 0) {
        return 0;
    }
    return static_cast<int>(std::min<std::int64_t>(*n, kFinalLevel));
}

void ProgressRecords::setLevel(int level) {
    store_.setValue(kLevelKey, std::clamp(level, 0, kFinalLevel));
    store_.flush();
}

void ProgressRecords::clearHistory() {
    timeLs_.fill(kNoBestTime);
    tishuLs_ = 0;
    tishuduiLs_ = 0;
    store_.setValue(kBestTimesKey, noBestTimes());
    store_.setValue(kQuestionsKey, 0);
    store_.setValue(kRightKey, 0);
    store_.flush();
}

}  // namespace sumbrook
