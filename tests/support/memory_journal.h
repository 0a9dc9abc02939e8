#pragma once

#include <QFile>
#include <QMap>
#include <algorithm>
#include <map>

#include "parent/journal_queries.h"

namespace sumbrook::testing {

// A journal held in memory for the parent's window tests: answers and completions per
// child, tallied the plain way on every question, so a test can say what the window must
// show without a database.
class MemoryJournal final : public JournalQueries {
  public:
    MemoryJournal() { children_.append({1, QStringLiteral("宝贝")}); }

    void answer(int child, int exercise, const QDateTime& at, const QString& shown,
                const QString& expected, bool right, std::int64_t ms) {
        AnsweredQuestion a;
        a.at = at;
        a.childId = child;
        a.exercise = exercise;
        a.shown = shown;
        a.expected = expected;
        a.typed = right ? expected : QStringLiteral("0");
        a.right = right;
        a.ms = ms;
        answers_.append(a);
    }
    void completion(int child, int exercise, std::int64_t ms, const QDateTime& at) {
        completions_.append({child, exercise, ms, at});
    }
    mutable QStringList exported;  // "child:path" of every export asked for
    bool exportSucceeds = true;

    QVector<Child> children() const override { return children_; }
    int currentChildId() const override { return current_; }
    int addChild(const QString& name) override {
        const int id = children_.back().id + 1;
        children_.append({id, name});
        return id;
    }
    bool renameChild(int id, const QString& name) override {
        for (Child& c : children_) {
            if (c.id == id) {
                c.name = name;
                return true;
            }
        }
        return false;
    }
    bool chooseChild(int id) override {
        for (const Child& c : children_) {
            if (c.id == id) {
                current_ = id;
                return true;
            }
        }
        return false;
    }

    QVector<DayTally> dailyTallies(int childId, const JournalSpan& span) const override {
        std::map<QDate, DayTally> days;
        for (const AnsweredQuestion& a : within(childId, span)) {
            DayTally& d = days[a.at.date()];
            d.day = a.at.date();
            ++d.asked;
            d.right += a.right ? 1 : 0;
        }
        QVector<DayTally> out;
        for (const auto& [day, tally] : days) {
            out.append(tally);
        }
        return out;
    }
    QVector<AnswerTimePoint> answerTimes(int childId, int exercise,
                                         const JournalSpan& span) const override {
        QVector<AnswerTimePoint> out;
        for (const AnsweredQuestion& a : within(childId, span)) {
            if (a.exercise == exercise) {
                out.append({a.at, a.ms, a.right});
            }
        }
        return out;
    }
    QVector<ExerciseTally> exerciseTallies(int childId, const JournalSpan& span) const override {
        QVector<ExerciseTally> out(37);
        std::map<int, std::vector<std::int64_t>> times;
        for (int i = 0; i < 37; ++i) {
            out[i].exercise = i + 1;
        }
        for (const AnsweredQuestion& a : within(childId, span)) {
            ExerciseTally& t = out[a.exercise - 1];
            ++t.tried;
            t.right += a.right ? 1 : 0;
            t.lastPractised = std::max(t.lastPractised, a.at);
            times[a.exercise].push_back(a.ms);
        }
        for (auto& [exercise, ms] : times) {
            std::sort(ms.begin(), ms.end());
            out[exercise - 1].medianMs = ms[ms.size() / 2];
        }
        for (const Completion& c : completions_) {
            if (c.child == childId && inSpan(c.at, span)) {
                auto& best = out[c.exercise - 1].bestMs;
                best = best ? std::min(*best, c.ms) : c.ms;
            }
        }
        return out;
    }
    QVector<MissedFact> missedFacts(int childId, const JournalSpan& span,
                                    int limit) const override {
        QMap<QString, MissedFact> facts;
        for (const AnsweredQuestion& a : within(childId, span)) {
            MissedFact& f = facts[QString::number(a.exercise) + a.shown];
            f.exercise = a.exercise;
            f.shown = a.shown;
            f.expected = a.expected;
            ++f.asked;
            if (!a.right) {
                ++f.missed;
                f.lastMissed = std::max(f.lastMissed, a.at);
            }
        }
        QVector<MissedFact> out;
        for (const MissedFact& f : facts) {
            if (f.missed > 0) {
                out.append(f);
            }
        }
        std::sort(out.begin(), out.end(), [](const MissedFact& a, const MissedFact& b) {
            return a.lastMissed != b.lastMissed ? a.lastMissed > b.lastMissed : a.missed > b.missed;
        });
        return out.mid(0, limit);
    }
    bool exportCsv(int childId, const QString& path) const override {
        exported.append(QStringLiteral("%1:%2").arg(childId).arg(path));
        return exportSucceeds;
    }
    QString readError() const override { return {}; }

  private:
    struct Completion {
        int child;
        int exercise;
        std::int64_t ms;
        QDateTime at;
    };
    static bool inSpan(const QDateTime& at, const JournalSpan& span) {
        return (!span.from.isValid() || at >= span.from) && at < span.to;
    }
    QVector<AnsweredQuestion> within(int childId, const JournalSpan& span) const {
        QVector<AnsweredQuestion> out;
        for (const AnsweredQuestion& a : answers_) {
            if (a.childId == childId && inSpan(a.at, span)) {
                out.append(a);
            }
        }
        return out;
    }

    QVector<Child> children_;
    int current_ = 1;
    QVector<AnsweredQuestion> answers_;
    QVector<Completion> completions_;
};

}  // namespace sumbrook::testing
