#include "practice_journal.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "answers_csv.h"
#include "common/output_file.h"
#include "fact_columns.h"
#include "journal_database.h"
#include "journal_log.h"
#include "missed_fact_order.h"

namespace sumbrook {

namespace {

constexpr int kExercises = 37;
const QString kCurrentChildKey = QStringLiteral("current_child");

// "AND at_ms >= ? AND at_ms < ?" for the ends the span has, with their values appended.
QString spanClause(const JournalSpan& span, QVariantList& values, const QString& column) {
    QString clause;
    if (span.from.isValid()) {
        clause += QStringLiteral(" AND %1 >= ?").arg(column);
        values.append(span.from.toMSecsSinceEpoch());
    }
    if (span.to.isValid()) {
        clause += QStringLiteral(" AND %1 < ?").arg(column);
        values.append(span.to.toMSecsSinceEpoch());
    }
    return clause;
}

bool run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values.at(i));
    }
    return query.exec();
}

// A query failed: its reason goes to `error` for the parent. Each failure is said once a
// run, not again on every refresh while it lasts (another program holding the file, say).
void readFailed(QString& error, const QString& path, const QSqlError& why) {
    static QMutex saidLock;
    static QSet<QString> said;
    const QString reason =
        (why.databaseText().isEmpty() ? why.driverText() : why.databaseText()).trimmed();
    error = QStringLiteral("读取练习记录失败：%1（%2）").arg(path, reason);
    const QMutexLocker locker(&saidLock);
    if (!said.contains(error)) {
        said.insert(error);
        qCWarning(journalLog).noquote()
            << QStringLiteral(
                   "the practice journal %1 cannot be read (%2); the query answers with nothing")
                   .arg(path, reason);
    }
}

// A journal that did not open has nothing to read; that was said when it failed to open.
void readWithoutJournal(QString& error, const QString& path, const JournalDatabase& database) {
    error = QStringLiteral("读取练习记录失败：%1（%2）")
                .arg(path, database.isHeld() ? QStringLiteral("另一个程序正占用练习记录")
                                             : QStringLiteral("练习记录没有打开"));
}

// What a missed fact is grouped by: its key, or for an old row without a fact the text
// it was shown with. `missedKey` is the same in C++.
const QString kMissedKey =
    QStringLiteral("COALESCE(fact, exercise || char(31) || shown || char(31) || expected)");

QString missedKey(const MissedFact& f) {
    return f.fact ? f.fact->key()
                  : QString::number(f.exercise) + QChar(31) + f.shown + QChar(31) + f.expected;
}

QDateTime fromMs(const QVariant& value) {
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

QString cleanName(const QString& name) {
    return name.simplified();
}

// One write transaction on a connection, rolled back unless committed. Taken before a
// child's name is checked, so that two programs adding the same name at once cannot both
// find it free. It says nothing itself; the caller tells what failed.
class WriteTransaction {
  public:
    explicit WriteTransaction(const QSqlDatabase& db) : query_(db) {
        begun_ = query_.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~WriteTransaction() {
        if (begun_ && !ended_) {
            query_.exec(QStringLiteral("ROLLBACK"));
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool begun() const { return begun_; }
    bool commit() {
        ended_ = query_.exec(QStringLiteral("COMMIT"));
        return ended_;
    }
    QString error() const { return query_.lastError().text(); }

  private:
    QSqlQuery query_;
    bool begun_ = false;
    bool ended_ = false;
};

enum class NameCheck { Free, Taken, Failed };

// Whether a child other than `except` has this name, spaces around and within aside.
NameCheck nameTaken(const QSqlDatabase& db, const QString& clean, int except) {
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("SELECT id, name FROM children"), {})) {
        return NameCheck::Failed;
    }
    while (query.next()) {
        if (query.value(0).toInt() != except && cleanName(query.value(1).toString()) == clean) {
            return NameCheck::Taken;
        }
    }
    return NameCheck::Free;
}

}  // namespace

PracticeJournal::PracticeJournal(QString directory)
    : directory_(std::move(directory)),
      database_(std::make_unique<JournalDatabase>(QDir(directory_).filePath(kFileName))) {}

PracticeJournal::~PracticeJournal() = default;

QString PracticeJournal::filePath() const {
    return database_->path();
}

bool PracticeJournal::open() {
    return database_->open();
}

// --- children

QVector<Child> PracticeJournal::children() const {
    QVector<Child> result;
    if (database_->isOpen()) {
        QSqlQuery query(database_->db());
        if (run(query, QStringLiteral("SELECT id, name FROM children ORDER BY id"), {})) {
            while (query.next()) {
                result.append({query.value(0).toInt(), query.value(1).toString()});
            }
        }
        if (query.lastError().isValid()) {
            readFailed(readError_, filePath(), query.lastError());
            result.clear();
        } else {
            readError_.clear();
        }
    } else {
        readWithoutJournal(readError_, filePath(), *database_);
    }
    if (result.isEmpty()) {
        // Without a journal there is still the one child who practises.
        result.append({kFirstChildId, QStringLiteral("宝贝")});
    }
    return result;
}

int PracticeJournal::currentChildId() const {
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return kFirstChildId;
    }
    QSqlQuery query(database_->db());
    const bool chosen =
        run(query,
            QStringLiteral("SELECT c.id FROM settings s JOIN children c ON c.id = s.value"
                           " WHERE s.key = ?"),
            {kCurrentChildKey}) &&
        query.next();
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return kFirstChildId;
    }
    readError_.clear();
    return chosen ? query.value(0).toInt() : kFirstChildId;
}

int PracticeJournal::insertChild(const QString& clean) {
    // A journal started afresh may have forgotten children whose stores are still on disk;
    // a new child never takes over one of those folders.
    int id = kFirstChildId;
    QSqlQuery query(database_->db());
    if (!run(query, QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM children"), {}) ||
        !query.next()) {
        qCWarning(journalLog).noquote()
            << "a child could not be added:" << query.lastError().text();
        return 0;
    }
    id = std::max(id, query.value(0).toInt());
    query.finish();
    const QDir folder(QDir(directory_).filePath(QStringLiteral("children")));
    for (const QString& entry : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const int taken = entry.toInt(&isNumber);
        if (isNumber) {
            id = std::max(id, taken);
        }
    }
    ++id;
    if (!run(query, QStringLiteral("INSERT INTO children (id, name) VALUES (?, ?)"), {id, clean})) {
        qCWarning(journalLog).noquote()
            << "a child could not be added:" << query.lastError().text();
        return 0;
    }
    return id;
}

int PracticeJournal::addChild(const QString& name) {
    const QString clean = cleanName(name);
    if (!database_->isOpen() || clean.isEmpty()) {
        return 0;
    }
    const auto failed = [](const QString& reason) {
        qCWarning(journalLog).noquote() << "a child could not be added:" << reason;
        return 0;
    };
    WriteTransaction transaction(database_->db());
    if (!transaction.begun()) {
        return failed(transaction.error());
    }
    switch (nameTaken(database_->db(), clean, 0)) {
        case NameCheck::Taken:
            return 0;
        case NameCheck::Failed:
            return failed(QStringLiteral("the children cannot be read"));
        case NameCheck::Free:
            break;
    }
    const int id = insertChild(clean);  // says why it failed
    if (id == 0) {
        return 0;
    }
    if (!transaction.commit()) {
        return failed(transaction.error());
    }
    return id;
}

bool PracticeJournal::renameChild(int id, const QString& name) {
    const QString clean = cleanName(name);
    if (!database_->isOpen() || clean.isEmpty()) {
        return false;
    }
    const auto failed = [](const QString& reason) {
        qCWarning(journalLog).noquote() << "a child could not be renamed:" << reason;
        return false;
    };
    WriteTransaction transaction(database_->db());
    if (!transaction.begun()) {
        return failed(transaction.error());
    }
    switch (nameTaken(database_->db(), clean, id)) {
        case NameCheck::Taken:
            return false;
        case NameCheck::Failed:
            return failed(QStringLiteral("the children cannot be read"));
        case NameCheck::Free:
            break;
    }
    QSqlQuery query(database_->db());
    if (!run(query, QStringLiteral("UPDATE children SET name = ? WHERE id = ?"), {clean, id})) {
        return failed(query.lastError().text());
    }
    if (query.numRowsAffected() != 1) {
        return false;  // no such child
    }
    query.finish();
    if (!transaction.commit()) {
        return failed(transaction.error());
    }
    return true;
}

bool PracticeJournal::chooseChild(int id) {
    if (!database_->isOpen()) {
        return false;
    }
    QSqlQuery query(database_->db());
    if (!run(query, QStringLiteral("SELECT 1 FROM children WHERE id = ?"), {id}) || !query.next()) {
        return false;
    }
    query.finish();
    return run(query, QStringLiteral("INSERT OR REPLACE INTO settings (key, value) VALUES (?, ?)"),
               {kCurrentChildKey, id});
}

QString PracticeJournal::storeDirectory(int childId) const {
    if (childId == kFirstChildId) {
        return directory_;
    }
    return QDir(directory_).filePath(QStringLiteral("children/%1").arg(childId));
}

// --- pupils

QString PracticeJournal::pupilName(const QString& number, const QString& name, int except) const {
    const QString clean = cleanName(name);
    switch (nameTaken(database_->db(), clean, except)) {
        case NameCheck::Free:
            return clean;
        case NameCheck::Taken:
            return QStringLiteral("%1（%2）").arg(clean, number);
        case NameCheck::Failed:
            break;
    }
    return {};
}

int PracticeJournal::childForPupil(const QString& number, const QString& name) {
    const QString clean = cleanName(name);
    if (!database_->isOpen() || number.isEmpty() || clean.isEmpty()) {
        return 0;
    }
    WriteTransaction transaction(database_->db());
    if (!transaction.begun()) {
        return 0;
    }
    QSqlQuery query(database_->db());
    if (!run(query, QStringLiteral("SELECT id, name FROM children WHERE pupil = ?"), {number})) {
        return 0;
    }
    int id = query.next() ? query.value(0).toInt() : 0;
    const QString known = id != 0 ? query.value(1).toString() : QString();
    query.finish();
    // A renamed pupil takes the class list's name; a child whose name matches is left so.
    const QString wanted = pupilName(number, clean, id);
    if (wanted.isEmpty()) {
        return 0;
    }
    if (id == 0) {
        id = insertChild(wanted);
        if (id == 0 || !run(query, QStringLiteral("UPDATE children SET pupil = ? WHERE id = ?"),
                            {number, id})) {
            return 0;
        }
    } else if (cleanName(known) != clean &&
               !run(query, QStringLiteral("UPDATE children SET name = ? WHERE id = ?"),
                    {wanted, id})) {
        return 0;
    }
    query.finish();
    return transaction.commit() ? id : 0;
}

bool PracticeJournal::takeProgressReset(int childId, ProgressReset reset, std::int64_t atMs) {
    if (!database_->isOpen()) {
        return false;
    }
    // A new game is the level event that sets level 0.
    const bool clear = reset == ProgressReset::HistoryCleared;
    const QString which =
        clear ? QStringLiteral("kind = 'clear'") : QStringLiteral("kind = 'level' AND level = 0");
    WriteTransaction transaction(database_->db());
    QSqlQuery query(database_->db());
    if (!transaction.begun() ||
        !run(query,
             QStringLiteral("SELECT COALESCE(max(at_ms), -1) FROM progress_events"
                            " WHERE child = ? AND ") +
                 which,
             {childId}) ||
        !query.next()) {
        return false;
    }
    const bool later = atMs > query.value(0).toLongLong();
    query.finish();
    // sent = 1: the server told us of it, it goes nowhere.
    return later &&
           run(query,
               QStringLiteral("INSERT INTO progress_events (guid, child, kind, level, at_ms, sent)"
                              " VALUES (?, ?, ?, ?, ?, 1)"),
               {QUuid::createUuid().toString(QUuid::WithoutBraces), childId,
                clear ? QStringLiteral("clear") : QStringLiteral("level"),
                clear ? QVariant() : QVariant(0), static_cast<qint64>(atMs)}) &&
           transaction.commit();
}

bool PracticeJournal::markPupil(int childId, const QString& number, const QString& name) {
    const QString clean = cleanName(name);
    if (!database_->isOpen() || number.isEmpty() || clean.isEmpty()) {
        return false;
    }
    WriteTransaction transaction(database_->db());
    if (!transaction.begun()) {
        return false;
    }
    const QString wanted = pupilName(number, clean, childId);
    QSqlQuery query(database_->db());
    if (wanted.isEmpty() ||
        !run(query, QStringLiteral("UPDATE children SET pupil = ?, name = ? WHERE id = ?"),
             {number, wanted, childId}) ||
        query.numRowsAffected() != 1) {
        return false;  // the number is another child's (unique), or no such child
    }
    query.finish();
    return transaction.commit();
}

QString PracticeJournal::pupilNumber(int childId) const {
    if (!database_->isOpen()) {
        return {};
    }
    QSqlQuery query(database_->db());
    if (!run(query, QStringLiteral("SELECT pupil FROM children WHERE id = ?"), {childId}) ||
        !query.next()) {
        return {};
    }
    return query.value(0).toString();
}

// --- recording

void PracticeJournal::recordAnswer(const AnsweredQuestion& answer) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(answer);
    }
}

void PracticeJournal::recordRunStart(int childId, int exercise, const QDateTime& at) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(RunEvent{RunEvent::Kind::Start, childId, exercise, at, 0});
    }
}

void PracticeJournal::recordRunEnd(int childId, int exercise, const QDateTime& at) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(RunEvent{RunEvent::Kind::End, childId, exercise, at, 0});
    }
}

void PracticeJournal::recordCompletion(int childId, int exercise, std::int64_t ms,
                                       const QDateTime& at) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(RunEvent{RunEvent::Kind::Completion, childId, exercise, at, ms});
    }
}

void PracticeJournal::recordLevel(int childId, int level, const QDateTime& at) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(ProgressEvent{ProgressEvent::Kind::Level, childId, level, at});
    }
}

void PracticeJournal::recordHistoryCleared(int childId, const QDateTime& at) {
    if (JournalWriter* writer = database_->writer()) {
        writer->post(ProgressEvent{ProgressEvent::Kind::Clear, childId, 0, at});
    }
}

void PracticeJournal::setOnWritten(std::function<void()> callback) {
    if (JournalWriter* writer = database_->writer()) {
        writer->setOnCommitted(std::move(callback));
    }
}

void PracticeJournal::waitForWrites() const {
    if (JournalWriter* writer = database_->writer()) {
        writer->waitUntilWritten();
    }
}

bool PracticeJournal::waitForWrites(std::chrono::milliseconds timeout) const {
    JournalWriter* writer = database_->writer();
    return writer == nullptr || writer->waitUntilWritten(timeout);
}

// --- queries

QVector<DayTally> PracticeJournal::dailyTallies(int childId, const JournalSpan& span) const {
    QVector<DayTally> result;
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    QVariantList values{childId};
    const QString sql =
        QStringLiteral(
            "SELECT day, COUNT(*), SUM(right) FROM answers INDEXED BY answers_by_day"
            " WHERE child = ?") +
        spanClause(span, values, QStringLiteral("at_ms")) +
        QStringLiteral(" GROUP BY day ORDER BY day");
    QSqlQuery query(database_->db());
    if (run(query, sql, values)) {
        while (query.next()) {
            result.append({QDate::fromString(query.value(0).toString(), Qt::ISODate),
                           query.value(1).toInt(), query.value(2).toInt()});
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return {};
    }
    readError_.clear();
    return result;
}

QVector<AnswerTimePoint> PracticeJournal::answerTimes(int childId, int exercise,
                                                      const JournalSpan& span) const {
    QVector<AnswerTimePoint> result;
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    QVariantList values{childId, exercise};
    const QString sql =
        QStringLiteral("SELECT at_ms, ms, right FROM answers WHERE child = ? AND exercise = ?") +
        spanClause(span, values, QStringLiteral("at_ms")) + QStringLiteral(" ORDER BY at_ms, id");
    QSqlQuery query(database_->db());
    if (run(query, sql, values)) {
        while (query.next()) {
            result.append(
                {fromMs(query.value(0)), query.value(1).toLongLong(), query.value(2).toInt() != 0});
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return {};
    }
    readError_.clear();
    return result;
}

QVector<ExerciseTally> PracticeJournal::exerciseTallies(int childId,
                                                        const JournalSpan& span) const {
    QVector<ExerciseTally> result(kExercises);
    for (int i = 0; i < kExercises; ++i) {
        result[i].exercise = i + 1;
    }
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    const QVector<ExerciseTally> untried = result;
    const auto at = [&result](int exercise) -> ExerciseTally* {
        return exercise >= 1 && exercise <= kExercises ? &result[exercise - 1] : nullptr;
    };
    QSqlQuery query(database_->db());

    QVariantList values{childId};
    QString clause = spanClause(span, values, QStringLiteral("at_ms"));
    if (run(query,
            QStringLiteral("SELECT exercise, COUNT(*), SUM(right), MAX(at_ms) FROM answers"
                           " INDEXED BY answers_by_fact WHERE child = ?") +
                clause + QStringLiteral(" GROUP BY exercise"),
            values)) {
        while (query.next()) {
            if (ExerciseTally* t = at(query.value(0).toInt())) {
                t->tried = query.value(1).toInt();
                t->right = query.value(2).toInt();
                t->lastPractised = fromMs(query.value(3));
            }
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return untried;
    }
    // The median: the middle one or two of each exercise's times, read in order from
    // their index at the right offset.
    for (ExerciseTally& t : result) {
        if (t.tried == 0) {
            continue;
        }
        QVariantList middle{childId, t.exercise};
        const QString sql = QStringLiteral(
                                "SELECT ms FROM answers INDEXED BY answers_by_time_taken"
                                " WHERE child = ? AND exercise = ?") +
                            spanClause(span, middle, QStringLiteral("at_ms")) +
                            QStringLiteral(" ORDER BY ms LIMIT ? OFFSET ?");
        middle << (t.tried % 2 == 0 ? 2 : 1) << (t.tried - 1) / 2;
        if (run(query, sql, middle)) {
            double sum = 0;
            int n = 0;
            while (query.next()) {
                sum += query.value(0).toDouble();
                ++n;
            }
            t.medianMs = n > 0 ? std::llround(sum / n) : 0;
        }
        if (query.lastError().isValid()) {
            readFailed(readError_, filePath(), query.lastError());
            return untried;
        }
    }
    values = {childId};
    clause = spanClause(span, values, QStringLiteral("at_ms"));
    if (run(query,
            QStringLiteral("SELECT exercise, MIN(ms) FROM runs WHERE child = ?"
                           " AND event = 'completion'") +
                clause + QStringLiteral(" GROUP BY exercise"),
            values)) {
        while (query.next()) {
            if (ExerciseTally* t = at(query.value(0).toInt())) {
                t->bestMs = query.value(1).toLongLong();
            }
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return untried;
    }
    readError_.clear();
    return result;
}

QVector<MissedFact> PracticeJournal::missedFacts(int childId, const JournalSpan& span,
                                                 int limit) const {
    QVector<MissedFact> result;
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    if (limit <= 0) {
        readError_.clear();
        return result;
    }
    // How often each fact was asked and missed in the span, and when last missed; only
    // facts missed at least once. Facts are counted from their index alone; their fields,
    // exercise and texts are those of the latest miss (SQLite takes a bare column from the
    // row of the one MAX()). Old rows without a fact are counted by their text.
    QVariantList values{childId};
    QString sql =
        QStringLiteral(
            "SELECT a.exercise, a.shown, a.expected, m.missed, m.last, m.asked, %1 FROM"
            " (SELECT id, SUM(right = 0) AS missed, MAX(CASE WHEN right = 0 THEN at_ms END)"
            " AS last, COUNT(*) AS asked FROM answers INDEXED BY answers_by_fact_key"
            " WHERE child = ? AND fact IS NOT NULL")
            .arg(FactColumns::names()) +
        spanClause(span, values, QStringLiteral("at_ms")) +
        QStringLiteral(" GROUP BY fact HAVING missed > 0) m JOIN answers a ON a.id = m.id");
    values.append(childId);
    sql += QStringLiteral(
               " UNION ALL SELECT exercise, shown, expected, SUM(right = 0), MAX(CASE WHEN"
               " right = 0 THEN at_ms END), COUNT(*), %1 FROM answers INDEXED BY"
               " answers_without_fact WHERE child = ? AND fact IS NULL")
               .arg(FactColumns::names()) +
           spanClause(span, values, QStringLiteral("at_ms")) +
           QStringLiteral(" GROUP BY exercise, shown, expected HAVING SUM(right = 0) > 0");
    QSqlQuery query(database_->db());
    if (run(query, sql, values)) {
        while (query.next()) {
            MissedFact fact;
            fact.exercise = query.value(0).toInt();
            fact.shown = query.value(1).toString();
            fact.expected = query.value(2).toString();
            fact.missed = query.value(3).toInt();
            fact.lastMissed = fromMs(query.value(4));
            fact.asked = query.value(5).toInt();
            fact.fact = FactColumns::read(query, 6);
            result.append(fact);
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return {};
    }
    readError_.clear();
    if (result.isEmpty()) {
        return result;
    }
    MissedFactOrder::sort(result, limit);
    if (!readWrongAnswers(result, childId, span)) {
        return {};
    }
    return result;
}

bool PracticeJournal::readWrongAnswers(QVector<MissedFact>& facts, int childId,
                                       const JournalSpan& span) const {
    QHash<QString, MissedFact*> byKey;
    for (MissedFact& f : facts) {
        byKey.insert(missedKey(f), &f);
    }
    QVariantList values{childId};
    QString sql = QStringLiteral(
                      "SELECT fact, typed, COUNT(*) AS n, MIN(at_ms) AS first FROM answers"
                      " INDEXED BY answers_by_fact_key WHERE child = ? AND fact IS NOT NULL"
                      " AND right = 0") +
                  spanClause(span, values, QStringLiteral("at_ms")) +
                  QStringLiteral(" GROUP BY fact, typed");
    values.append(childId);
    sql += QStringLiteral(
               " UNION ALL SELECT %1, typed, COUNT(*), MIN(at_ms) FROM answers INDEXED BY"
               " answers_without_fact WHERE child = ? AND fact IS NULL AND right = 0")
               .arg(kMissedKey) +
           spanClause(span, values, QStringLiteral("at_ms")) +
           QStringLiteral(" GROUP BY exercise, shown, expected, typed ORDER BY n DESC, first");
    QSqlQuery query(database_->db());
    if (run(query, sql, values)) {
        while (query.next()) {
            if (MissedFact* f = byKey.value(query.value(0).toString())) {
                f->wrongAnswers.append(query.value(1).toString());
            }
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return false;
    }
    return true;
}

QVector<AnsweredQuestion> PracticeJournal::answers(int childId, const JournalSpan& span) const {
    QVector<AnsweredQuestion> result;
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    QVariantList values{childId};
    const QString sql = QStringLiteral(
                            "SELECT at_ms, exercise, shown, expected, typed, right, ms, review, %1"
                            " FROM answers WHERE child = ?")
                            .arg(FactColumns::names()) +
                        spanClause(span, values, QStringLiteral("at_ms")) +
                        QStringLiteral(" ORDER BY at_ms, id");
    QSqlQuery query(database_->db());
    if (run(query, sql, values)) {
        while (query.next()) {
            AnsweredQuestion a;
            a.at = fromMs(query.value(0));
            a.childId = childId;
            a.exercise = query.value(1).toInt();
            a.shown = query.value(2).toString();
            a.expected = query.value(3).toString();
            a.typed = query.value(4).toString();
            a.right = query.value(5).toInt() != 0;
            a.ms = query.value(6).toLongLong();
            a.review = query.value(7).toInt() != 0;
            a.fact = FactColumns::read(query, 8);
            result.append(a);
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return {};
    }
    readError_.clear();
    return result;
}

QVector<FactAnswer> PracticeJournal::factAnswers(int childId) const {
    QVector<FactAnswer> result;
    if (!database_->isOpen()) {
        readWithoutJournal(readError_, filePath(), *database_);
        return result;
    }
    // Each fact's fields and expected answer once, from its first row; then the answers
    // from the index alone, in its order.
    struct Known {
        PracticeFact fact;
        QString expected;
    };
    QHash<QString, Known> facts;
    qsizetype answers = 0;
    QSqlQuery query(database_->db());
    if (run(query,
            QStringLiteral("SELECT %1, expected, n FROM answers JOIN (SELECT MIN(id) AS first,"
                           " COUNT(*) AS n FROM answers INDEXED BY answers_by_fact_key"
                           " WHERE child = ? AND fact IS NOT NULL GROUP BY fact) ON id = first")
                .arg(FactColumns::names()),
            {childId})) {
        while (query.next()) {
            if (auto fact = FactColumns::read(query, 0)) {
                facts.insert(query.value(FactColumns::kCount - 1).toString(),
                             {std::move(*fact), query.value(FactColumns::kCount).toString()});
                answers += query.value(FactColumns::kCount + 1).toLongLong();
            }
        }
    }
    result.reserve(answers);
    if (!query.lastError().isValid() &&
        run(query,
            // The day as its day number, which is cheaper to hand over than its text.
            QStringLiteral("SELECT fact, exercise, typed, at_ms, CAST(julianday(day) + 0.5 AS"
                           " INTEGER), right, ms, review FROM answers INDEXED BY"
                           " answers_by_fact_key WHERE child = ? AND fact IS NOT NULL"
                           " ORDER BY fact, at_ms"),
            {childId})) {
        QString key;
        const Known* known = nullptr;
        while (query.next()) {
            if (QString next = query.value(0).toString(); next != key || !known) {
                key = std::move(next);
                const auto it = facts.constFind(key);
                known = it == facts.cend() ? nullptr : &*it;
            }
            if (!known) {
                continue;  // a row written after the facts were read
            }
            const QVariant day = query.value(4);
            result.append({known->fact, query.value(1).toInt(), known->expected,
                           query.value(2).toString(), query.value(3).toLongLong(),
                           day.isNull() ? QDate() : QDate::fromJulianDay(day.toLongLong()),
                           query.value(5).toInt() != 0, query.value(6).toLongLong(),
                           query.value(7).toInt() != 0});
        }
    }
    if (query.lastError().isValid()) {
        readFailed(readError_, filePath(), query.lastError());
        return {};
    }
    readError_.clear();
    return result;
}

bool PracticeJournal::exportCsv(int childId, const QString& path, QString* error,
                                qsizetype* rows) const {
    const auto failed = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return false;
    };
    QString name;
    for (const Child& c : children()) {
        if (c.id == childId) {
            name = c.name;
        }
    }
    // A file that looks like an empty record when the journal could not be read would
    // mislead, and would take the place of a good export; so nothing is written.
    const QString childrenUnread = readError_;
    const QVector<AnsweredQuestion> answered = answers(childId, {});
    if (readError_.isEmpty()) {
        readError_ = childrenUnread;
    }
    if (!readError_.isEmpty()) {
        return failed(readError_);
    }
    const QString text = AnswersCsv::text(name, answered);
    OutputFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.commit()) {
        return failed(file.reason());
    }
    if (rows) {
        *rows = answered.size();
    }
    return true;
}

}  // namespace sumbrook
