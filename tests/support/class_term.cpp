#include "class_term.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "classroom/class_schema.h"
#include "practice/core/money_generator.h"
#include "practice/core/practice_fact.h"

namespace sumbrook::testing {

namespace {

constexpr int kLessonMs = 45 * 60 * 1000;
constexpr int kBlock = 20;  // answers of one run
constexpr int kRowsPerInsert = 2000;

const std::array<const char*, 24> kSurnames{"王", "李", "张", "刘", "陈", "杨", "黄", "赵",
                                            "吴", "周", "徐", "孙", "马", "朱", "胡", "郭",
                                            "何", "高", "林", "罗", "郑", "梁", "谢", "宋"};
const std::array<const char*, 40> kGivenNames{
    "子涵", "欣怡", "梓萱", "浩然", "宇轩", "一诺", "雨桐", "思远", "俊熙", "可馨",
    "明轩", "诗涵", "嘉怡", "子墨", "若汐", "天佑", "梓涵", "家豪", "晨曦", "语嫣",
    "博文", "佳琪", "沐阳", "雅琪", "皓轩", "欣妍", "奕辰", "紫萱", "泽宇", "芷若",
    "俊杰", "梦瑶", "睿哲", "思琪", "逸飞", "静怡", "昊天", "心怡", "子轩", "安琪"};

// The exercises of each quarter of the term, as a first-grade class meets them.
const std::array<std::vector<int>, 4> kStages{{
    {1, 2, 3, 4, 5},
    {4, 5, 6, 7, 8, 36},
    {9, 10, 11, 12, 13, 37},
    {13, 14, 15, 16, 36, 37},
}};

struct Question {
    PracticeFact fact;
    QString shown;
    QString expected;
};

class Term {
  public:
    explicit Term(std::uint32_t seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    double uniform() { return std::uniform_real_distribution<double>(0, 1)(random_); }
    double normal() { return std::normal_distribution<double>(0, 1)(random_); }

    QString guid() {
        std::array<std::uint32_t, 4> w{};
        for (auto& v : w) {
            v = random_();
        }
        w[1] = (w[1] & 0xffff0fffu) | 0x00004000u;  // version 4
        w[2] = (w[2] & 0x3fffffffu) | 0x80000000u;  // the RFC's variant
        return QUuid(w[0], static_cast<ushort>(w[1] >> 16), static_cast<ushort>(w[1]),
                     static_cast<uchar>(w[2] >> 24), static_cast<uchar>(w[2] >> 16),
                     static_cast<uchar>(w[2] >> 8), static_cast<uchar>(w[2]),
                     static_cast<uchar>(w[3] >> 24), static_cast<uchar>(w[3] >> 16),
                     static_cast<uchar>(w[3] >> 8), static_cast<uchar>(w[3]))
            .toString(QUuid::WithoutBraces);
    }

    Question twoNumber(int a, int b, bool plus, int blank) {
        Question q;
        const int c = plus ? a + b : a - b;
        q.fact.kind = FactKind::TwoNumber;
        q.fact.numbers = {a, b, c};
        q.fact.signs = plus ? QStringLiteral("+") : QStringLiteral("-");
        q.fact.blank = blank;
        const std::array<int, 3> n{a, b, c};
        QStringList parts;
        for (int i = 0; i < 3; ++i) {
            parts << (i == blank ? QStringLiteral("□") : QString::number(n[i]));
        }
        q.shown = QStringLiteral("%1 %2 %3 = %4")
                      .arg(parts[0], plus ? QStringLiteral("+") : QStringLiteral("−"), parts[1],
                           parts[2]);
        q.expected = QString::number(n[static_cast<std::size_t>(blank)]);
        return q;
    }

    Question question(int exercise) {
        switch (exercise) {
            case 1: {
                const int a = between(0, 5);
                return twoNumber(a, between(0, 5 - a), true, 2);
            }
            case 2: {
                const int a = between(1, 5);
                return twoNumber(a, between(0, a), false, 2);
            }
            case 3:
                return question(1 + below(2));
            case 4: {
                const int a = between(0, 10);
                return twoNumber(a, between(0, 10 - a), true, 2);
            }
            case 5: {
                const int a = between(2, 10);
                return twoNumber(a, between(0, a), false, 2);
            }
            case 6:
                return question(4 + below(2));
            case 7: {
                const int a = between(0, 10);
                return twoNumber(a, between(0, 10 - a), true, below(2));
            }
            case 8: {
                const int a = between(1, 9);
                return twoNumber(a, 10 - a, true, 1);
            }
            case 9: {
                const int a = between(10, 18);
                return twoNumber(a, between(0, 9 - a % 10), true, 2);
            }
            case 10: {
                const int a = between(11, 19);
                return twoNumber(a, between(0, a % 10), false, 2);
            }
            case 11: {
                const int a = between(2, 9);
                return twoNumber(a, between(11 - a, 9), true, 2);
            }
            case 12: {
                const int a = between(11, 18);
                return twoNumber(a, between(a % 10 + 1, 9), false, 2);
            }
            case 13: {
                const int a = between(0, 10);
                return twoNumber(a, between(0, 10), true, 2);
            }
            case 14: {
                const int a = between(5, 20);
                return twoNumber(a, between(0, std::min(a, 10)), false, 2);
            }
            case 15:
                return question(13 + below(2));
            case 16: {
                const int a = between(0, 10);
                const bool plus = below(2) == 0;
                return plus ? twoNumber(a, between(0, 10), true, below(2))
                            : twoNumber(a + 10, between(0, 10), false, 1);
            }
            case 36: {
                Question q;
                q.fact.kind = FactKind::Clock;
                q.fact.hour = between(1, 12);
                q.fact.minute = 15 * below(4);
                q.shown = QStringLiteral("%1点%2分").arg(q.fact.hour).arg(q.fact.minute);
                q.expected = q.shown;
                return q;
            }
            default: {
                const int picture = between(1, MoneyGenerator::kPictures);
                Question q;
                q.fact = factOf(MoneyGenerator::forPicture(picture));
                q.shown = QStringLiteral("钱币图%1：□%2").arg(picture).arg(q.fact.unit);
                q.expected = QString::number(q.fact.money);
                return q;
            }
        }
    }

  private:
    std::mt19937 random_;
};

// A wrong entry as a child types it: one off, the digits turned round, or the other sign.
QString wrongEntry(Term& term, const Question& q) {
    bool number = false;
    const int expected = q.expected.toInt(&number);
    if (!number) {
        return QStringLiteral("%1点%2分").arg(q.fact.hour % 12 + 1).arg(q.fact.minute);
    }
    switch (term.below(3)) {
        case 0:
            return QString::number(expected + 1);
        case 1:
            return QString::number(std::max(0, expected - 1));
        default:
            return q.fact.numbers.size() == 3
                       ? QString::number(q.fact.numbers[0] + q.fact.numbers[1] == expected
                                             ? std::abs(q.fact.numbers[0] - q.fact.numbers[1])
                                             : q.fact.numbers[0] + q.fact.numbers[1])
                       : QString::number(expected + 10);
    }
}

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString numbersText(const std::vector<int>& numbers) {
    QStringList parts;
    for (int n : numbers) {
        parts << QString::number(n);
    }
    return parts.join(u',');
}

// The kind columns of a fact, as FactColumns writes them.
QString factValues(const PracticeFact& f) {
    const QString none = QStringLiteral("NULL");
    const bool sum = f.kind == FactKind::TwoNumber || f.kind == FactKind::Expression;
    const bool clock = f.kind == FactKind::Clock;
    const bool money = f.kind == FactKind::Money;
    return QStringList{quoted(factKindName(f.kind)),
                       sum ? quoted(numbersText(f.numbers)) : none,
                       sum ? quoted(f.signs) : none,
                       sum ? QString::number(f.blank) : none,
                       clock ? QString::number(f.hour) : none,
                       clock ? QString::number(f.minute) : none,
                       money ? QString::number(f.picture) : none,
                       money ? QString::number(f.money) : none,
                       money ? quoted(f.unit) : none,
                       quoted(f.key())}
        .join(u',');
}

// Rows of one table gathered into multi-row INSERTs.
class Inserter {
  public:
    Inserter(QSqlDatabase& db, QString head) : db_(db), head_(std::move(head)) {}
    bool add(const QString& row) {
        rows_ << row;
        ++count_;
        return rows_.size() < kRowsPerInsert || flush();
    }
    bool flush() {
        if (rows_.isEmpty()) {
            return true;
        }
        QSqlQuery query(db_);
        const bool done = query.exec(head_ + rows_.join(u','));
        error_ = query.lastError();
        rows_.clear();
        return done;
    }
    QSqlError error() const { return error_; }
    std::int64_t count() const { return count_; }

  private:
    QSqlDatabase& db_;
    QString head_;
    QStringList rows_;
    QSqlError error_;
    std::int64_t count_ = 0;
};

// The weekdays up to today, today the last whatever day it is.
std::vector<QDate> schoolDays(const QDate& today, int days) {
    std::vector<QDate> result{today};
    for (QDate d = today.addDays(-1); static_cast<int>(result.size()) < days; d = d.addDays(-1)) {
        if (d.dayOfWeek() <= 5) {
            result.push_back(d);
        }
    }
    std::reverse(result.begin(), result.end());
    return result;
}

}  // namespace

std::optional<ClassTerm::Filled> ClassTerm::fill(QSqlDatabase& owner, const Shape& shape,
                                                 const QDateTime& now, QString& error) {
    QSqlQuery query(owner);
    QSqlError why;
    const auto refused = [&](const QSqlError& e) -> std::optional<Filled> {
        error = e.databaseText().isEmpty() ? e.text() : e.databaseText();
        owner.rollback();
        return std::nullopt;
    };
    if (!owner.transaction()) {
        return refused(owner.lastError());
    }
    if (ClassSchema::migrate(owner, why) == ClassSchema::Migration::Failed) {
        return refused(why);
    }
    if (!query.exec(
            QStringLiteral("TRUNCATE answers, runs, progress_events, pupils RESTART IDENTITY"))) {
        return refused(query.lastError());
    }

    Term term(shape.seed);
    struct Pupil {
        int id = 0;
        QString number;
        double skill = 0;   // the share right at the start of the term
        double gain = 0;    // how much more by its end
        double paceMs = 0;  // a typical answer at the start
    };
    std::vector<Pupil> pupils;
    QStringList names;
    for (int i = 0; i < shape.pupils; ++i) {
        QString name;
        do {
            name = QString::fromUtf8(kSurnames[static_cast<std::size_t>(term.below(24))]) +
                   QString::fromUtf8(kGivenNames[static_cast<std::size_t>(term.below(40))]);
        } while (names.contains(name) && names.size() < 24 * 40);
        names << name;
        Pupil p;
        p.number = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        p.skill = 0.55 + 0.35 * term.uniform();
        p.gain = 0.05 + 0.12 * term.uniform();
        p.paceMs = 2500 + 3500 * term.uniform();
        if (!query.exec(QStringLiteral("INSERT INTO pupils (number, name) VALUES (%1, %2)"
                                       " RETURNING id")
                            .arg(quoted(p.number), quoted(name))) ||
            !query.next()) {
            return refused(query.lastError());
        }
        p.id = query.value(0).toInt();
        pupils.push_back(p);
    }

    Inserter answers(owner, QStringLiteral("INSERT INTO answers VALUES "));
    Inserter runs(owner, QStringLiteral("INSERT INTO runs VALUES "));
    Inserter events(owner, QStringLiteral("INSERT INTO progress_events VALUES "));
    const std::vector<QDate> days = schoolDays(now.date(), shape.days);
    const QDateTime lessonStart = now.addSecs(-60 * kLessonAgoMinutes);
    const double gapMs = static_cast<double>(kLessonMs) / std::max(shape.answersPerDay, 1);

    for (std::size_t d = 0; d < days.size(); ++d) {
        const bool today = d + 1 == days.size();
        const double progress = days.size() > 1 ? static_cast<double>(d) / (days.size() - 1) : 1;
        const std::vector<int>& stage =
            kStages[std::min<std::size_t>(3, static_cast<std::size_t>(progress * 4))];
        // The class works on the same exercises in a lesson, a run of kBlock each.
        std::vector<int> exercises;
        for (int b = 0; b * kBlock < shape.answersPerDay; ++b) {
            exercises.push_back(
                stage[static_cast<std::size_t>(term.below(static_cast<int>(stage.size())))]);
        }
        const qint64 startMs = today ? lessonStart.toMSecsSinceEpoch()
                                     : QDateTime(days[d], QTime(10, 0)).toMSecsSinceEpoch();
        const QString day = quoted(days[d].toString(Qt::ISODate));
        for (const Pupil& p : pupils) {
            if (today && p.number == QLatin1String(kAbsent)) {
                continue;
            }
            // Today's answers stop a moment ago, or five minutes ago for the quiet one.
            const qint64 endMs = p.number == QLatin1String(kQuiet)
                                     ? now.toMSecsSinceEpoch() - 5 * 60 * 1000
                                     : now.toMSecsSinceEpoch() - term.between(2, 60) * 1000;
            const QString computer = quoted(QStringLiteral("seat-%1").arg(p.number));
            const QString pupil = QString::number(p.id);
            double at = static_cast<double>(startMs) + term.between(0, 120) * 1000;
            const double accuracy = std::min(0.98, p.skill + p.gain * progress);
            std::vector<qint64> blockMs;
            std::vector<bool> blockRight;
            const auto endRun = [&](int exercise, qint64 atMs) {
                if (blockMs.empty()) {
                    return true;
                }
                const qint64 total = std::accumulate(blockMs.begin(), blockMs.end(), qint64{0});
                const auto right = std::count(blockRight.begin(), blockRight.end(), true);
                bool done = runs.add(QStringLiteral("(%1,%2,%3,%4,'end',%5,NULL)")
                                         .arg(quoted(term.guid()), pupil, computer)
                                         .arg(exercise)
                                         .arg(atMs));
                if (static_cast<int>(blockMs.size()) == kBlock && right >= kBlock * 17 / 20) {
                    const QString guid = quoted(term.guid());
                    done = done &&
                           runs.add(QStringLiteral("(%1,%2,%3,%4,'completion',%5,%6)")
                                        .arg(guid, pupil, computer)
                                        .arg(exercise)
                                        .arg(atMs)
                                        .arg(total)) &&
                           events.add(QStringLiteral("(%1,%2,%3,'completion',%4,%5,NULL,%6)")
                                          .arg(guid, pupil, computer)
                                          .arg(exercise)
                                          .arg(total)
                                          .arg(atMs));
                }
                blockMs.clear();
                blockRight.clear();
                return done;
            };
            for (int n = 0; n < shape.answersPerDay; ++n) {
                const int exercise = exercises[static_cast<std::size_t>(n / kBlock)];
                if (n % kBlock == 0) {
                    if (!runs.add(QStringLiteral("(%1,%2,%3,%4,'start',%5,NULL)")
                                      .arg(quoted(term.guid()), pupil, computer)
                                      .arg(exercise)
                                      .arg(static_cast<qint64>(at)))) {
                        return refused(runs.error());
                    }
                }
                const Question q = term.question(exercise);
                // Carrying, taking across ten, clocks and money come harder.
                const bool hard = exercise == 11 || exercise == 12 || exercise >= 36;
                double chance = accuracy - (hard ? 0.12 : 0.0);
                const bool stuckNow = today && p.number == QLatin1String(kStuck) &&
                                      static_cast<qint64>(at) > endMs - 6 * 60 * 1000;
                if (stuckNow) {
                    chance = 0.2;
                }
                const bool right = term.uniform() < chance;
                const double pace = p.paceMs * (1.0 - 0.35 * progress) * (right ? 1.0 : 1.35);
                const qint64 ms =
                    std::clamp(static_cast<qint64>(pace * std::exp(0.35 * term.normal())),
                               qint64{1500}, qint64{12000});
                at += static_cast<double>(ms);
                if (today && static_cast<qint64>(at) > endMs) {
                    break;
                }
                const QString typed = right ? q.expected : wrongEntry(term, q);
                if (!answers.add(QStringLiteral("(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12,false)")
                                     .arg(quoted(term.guid()), pupil, computer)
                                     .arg(static_cast<qint64>(at))
                                     .arg(day)
                                     .arg(exercise)
                                     .arg(quoted(q.shown), quoted(q.expected), quoted(typed),
                                          right ? QStringLiteral("true") : QStringLiteral("false"))
                                     .arg(ms)
                                     .arg(factValues(q.fact)))) {
                    return refused(answers.error());
                }
                blockMs.push_back(ms);
                blockRight.push_back(right);
                if (n % kBlock == kBlock - 1 && !endRun(exercise, static_cast<qint64>(at))) {
                    return refused(runs.error().isValid() ? runs.error() : events.error());
                }
                // The next question comes after a pause that fills the lesson.
                // (today, at most 25 s: who practises now answered within two minutes).
                const double pause =
                    std::max(0.0, gapMs - static_cast<double>(ms)) * (0.5 + term.uniform());
                at += today ? std::min(pause, 25000.0) : pause;
            }
            if (!today && !endRun(exercises.back(), static_cast<qint64>(at))) {
                return refused(runs.error());
            }
        }
    }
    if (!answers.flush()) {
        return refused(answers.error());
    }
    if (!runs.flush()) {
        return refused(runs.error());
    }
    if (!events.flush()) {
        return refused(events.error());
    }
    if (!owner.commit()) {
        return refused(owner.lastError());
    }
    // Fresh statistics, as the server's autovacuum would have by the next lesson.
    query.exec(QStringLiteral("ANALYZE"));
    return Filled{static_cast<int>(pupils.size()), answers.count(), runs.count(), lessonStart};
}

}  // namespace sumbrook::testing
