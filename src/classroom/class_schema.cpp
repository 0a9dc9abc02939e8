#include "class_schema.h"

#include <QSqlQuery>
#include <QVariant>

namespace sumbrook {

namespace {

// The three ways in for a pupil computer. Each looks the pupil up by number (a computer
// knows the class list, not the server's ids), refuses a number not in the class with
// foreign_key_violation, and stores the row once under its guid: true when stored, false
// when that guid was there already, so a computer may send a row again after a lost
// answer. SECURITY DEFINER with a fixed search_path: they write what the caller may not.
const QString kAddAnswer = QStringLiteral(R"(
CREATE FUNCTION add_answer(guid uuid, pupil_number text, computer text, at_ms bigint,
    day date, exercise integer, shown text, expected text, typed text, correct boolean,
    ms integer, kind text, numbers text, signs text, blank integer, hour integer,
    minute integer, picture integer, money integer, unit text, fact text, review boolean)
RETURNS boolean LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    found_pupil integer;
    stored integer;
BEGIN
    SELECT p.id INTO found_pupil FROM pupils p WHERE p.number = pupil_number;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'pupil % is not in the class', pupil_number
            USING ERRCODE = 'foreign_key_violation';
    END IF;
    INSERT INTO answers VALUES (guid, found_pupil, computer, at_ms, day, exercise, shown,
        expected, typed, correct, ms, kind, numbers, signs, blank, hour, minute, picture,
        money, unit, fact, review)
    ON CONFLICT ON CONSTRAINT answers_pkey DO NOTHING;
    GET DIAGNOSTICS stored = ROW_COUNT;
    RETURN stored = 1;
END $$)");

const QString kAddRun = QStringLiteral(R"(
CREATE FUNCTION add_run(guid uuid, pupil_number text, computer text, exercise integer,
    event text, at_ms bigint, ms integer)
RETURNS boolean LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    found_pupil integer;
    stored integer;
BEGIN
    SELECT p.id INTO found_pupil FROM pupils p WHERE p.number = pupil_number;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'pupil % is not in the class', pupil_number
            USING ERRCODE = 'foreign_key_violation';
    END IF;
    INSERT INTO runs VALUES (guid, found_pupil, computer, exercise, event, at_ms, ms)
    ON CONFLICT ON CONSTRAINT runs_pkey DO NOTHING;
    GET DIAGNOSTICS stored = ROW_COUNT;
    RETURN stored = 1;
END $$)");

const QString kAddProgressEvent = QStringLiteral(R"(
CREATE FUNCTION add_progress_event(guid uuid, pupil_number text, computer text, kind text,
    exercise integer, ms integer, level integer, at_ms bigint)
RETURNS boolean LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
    found_pupil integer;
    stored integer;
BEGIN
    SELECT p.id INTO found_pupil FROM pupils p WHERE p.number = pupil_number;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'pupil % is not in the class', pupil_number
            USING ERRCODE = 'foreign_key_violation';
    END IF;
    INSERT INTO progress_events VALUES (guid, found_pupil, computer, kind, exercise, ms,
        level, at_ms)
    ON CONFLICT ON CONSTRAINT progress_events_pkey DO NOTHING;
    GET DIAGNOSTICS stored = ROW_COUNT;
    RETURN stored = 1;
END $$)");

// A pupil's progress as the practice keeps it (the level, the counts of questions and
// right answers, the best time of each exercise), worked out from what was recorded after
// the pupil's last clearing; never a stored value that a computer could overwrite. Answers
// of a review run count for nothing here, as they do on the computer.
const QString kPupilProgress = QStringLiteral(R"(
CREATE VIEW pupil_progress AS
SELECT p.id AS pupil, p.number, p.name,
       COALESCE(l.level, 0) AS level,
       COALESCE(a.questions, 0) AS questions,
       COALESCE(a.right_answers, 0) AS right_answers,
       c.cleared_at_ms
FROM pupils p
LEFT JOIN LATERAL (SELECT max(e.at_ms) AS cleared_at_ms FROM progress_events e
                   WHERE e.pupil = p.id AND e.kind = 'clear') c ON true
LEFT JOIN LATERAL (SELECT max(e.level) AS level FROM progress_events e
                   WHERE e.pupil = p.id AND e.kind = 'level'
                     AND e.at_ms > COALESCE(c.cleared_at_ms, -1)) l ON true
LEFT JOIN LATERAL (SELECT count(*) AS questions,
                          count(*) FILTER (WHERE x.correct) AS right_answers
                   FROM answers x
                   WHERE x.pupil = p.id AND NOT x.review
                     AND x.at_ms > COALESCE(c.cleared_at_ms, -1)) a ON true)");

const QString kPupilBestTimes = QStringLiteral(R"(
CREATE VIEW pupil_best_times AS
SELECT p.id AS pupil, p.number, e.exercise, min(e.ms) AS best_ms, count(*) AS completions
FROM pupils p
JOIN progress_events e ON e.pupil = p.id AND e.kind = 'completion'
WHERE e.at_ms > COALESCE((SELECT max(c.at_ms) FROM progress_events c
                          WHERE c.pupil = p.id AND c.kind = 'clear'), -1)
GROUP BY p.id, p.number, e.exercise)");

// The teacher's one way to take a pupil off the list. A pupil with recorded work keeps it
// and is moved to "已离开"; one without is deleted. The pupil's row is locked first, so
// that an answer arriving meanwhile (whose key check shares that lock) either comes
// before and keeps the pupil, or waits and finds them marked. 'left', 'deleted', or NULL
// for no such pupil.
const QString kRemovePupil = QStringLiteral(R"(
CREATE FUNCTION remove_pupil(pupil_id integer)
RETURNS text LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
    PERFORM 1 FROM pupils p WHERE p.id = pupil_id FOR UPDATE;
    IF NOT FOUND THEN
        RETURN NULL;
    END IF;
    IF EXISTS (SELECT 1 FROM answers a WHERE a.pupil = pupil_id)
       OR EXISTS (SELECT 1 FROM runs r WHERE r.pupil = pupil_id)
       OR EXISTS (SELECT 1 FROM progress_events e WHERE e.pupil = pupil_id) THEN
        UPDATE pupils SET "left" = true WHERE id = pupil_id;
        RETURN 'left';
    END IF;
    DELETE FROM pupils WHERE id = pupil_id;
    RETURN 'deleted';
END $$)");

// The level as the computers keep it: a clearing of the history leaves it, a new game
// (a level event of 0) starts it again; so the highest since the last new game. The
// times of the last clearing and new game let a computer tell that its copy is older.
const QString kPupilProgressSinceNewGame = QStringLiteral(R"(
CREATE OR REPLACE VIEW pupil_progress AS
SELECT p.id AS pupil, p.number, p.name,
       COALESCE(l.level, 0) AS level,
       COALESCE(a.questions, 0) AS questions,
       COALESCE(a.right_answers, 0) AS right_answers,
       c.cleared_at_ms,
       r.restarted_at_ms
FROM pupils p
LEFT JOIN LATERAL (SELECT max(e.at_ms) AS cleared_at_ms FROM progress_events e
                   WHERE e.pupil = p.id AND e.kind = 'clear') c ON true
LEFT JOIN LATERAL (SELECT max(e.at_ms) AS restarted_at_ms FROM progress_events e
                   WHERE e.pupil = p.id AND e.kind = 'level' AND e.level = 0) r ON true
LEFT JOIN LATERAL (SELECT max(e.level) AS level FROM progress_events e
                   WHERE e.pupil = p.id AND e.kind = 'level'
                     AND e.at_ms >= COALESCE(r.restarted_at_ms, -1)) l ON true
LEFT JOIN LATERAL (SELECT count(*) AS questions,
                          count(*) FILTER (WHERE x.correct) AS right_answers
                   FROM answers x
                   WHERE x.pupil = p.id AND NOT x.review
                     AND x.at_ms > COALESCE(c.cleared_at_ms, -1)) a ON true)");

}  // namespace

const std::vector<ClassSchema::Step>& ClassSchema::steps() {
    static const std::vector<Step> kSteps{
        {1,
         {
             QStringLiteral("CREATE TABLE pupils ("
                            " id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
                            " number text NOT NULL UNIQUE"
                            "  CHECK (number <> '' AND char_length(number) <= 32),"
                            " name text NOT NULL CHECK (name <> '' AND char_length(name) <= 64))"),
             // Rows name their pupil by id and RESTRICT: a pupil with recorded work stays.
             // at_ms: milliseconds since the epoch; day: the computer's local date then.
             QStringLiteral("CREATE TABLE answers ("
                            " guid uuid PRIMARY KEY,"
                            " pupil integer NOT NULL REFERENCES pupils ON DELETE RESTRICT,"
                            " computer text NOT NULL, at_ms bigint NOT NULL, day date NOT NULL,"
                            " exercise integer NOT NULL, shown text NOT NULL,"
                            " expected text NOT NULL, typed text NOT NULL,"
                            " correct boolean NOT NULL, ms integer NOT NULL,"
                            " kind text, numbers text, signs text, blank integer, hour integer,"
                            " minute integer, picture integer, money integer, unit text,"
                            " fact text, review boolean NOT NULL DEFAULT false)"),
             QStringLiteral("CREATE INDEX answers_by_pupil_time ON answers (pupil, at_ms)"),
             QStringLiteral("CREATE TABLE runs ("
                            " guid uuid PRIMARY KEY,"
                            " pupil integer NOT NULL REFERENCES pupils ON DELETE RESTRICT,"
                            " computer text NOT NULL, exercise integer NOT NULL,"
                            " event text NOT NULL CHECK (event IN ('start', 'end', 'completion')),"
                            " at_ms bigint NOT NULL, ms integer)"),
             QStringLiteral("CREATE INDEX runs_by_pupil ON runs (pupil, exercise, at_ms)"),
             QStringLiteral(
                 "CREATE TABLE progress_events ("
                 " guid uuid PRIMARY KEY,"
                 " pupil integer NOT NULL REFERENCES pupils ON DELETE RESTRICT,"
                 " computer text NOT NULL,"
                 " kind text NOT NULL CHECK (kind IN ('completion', 'level', 'clear')),"
                 " exercise integer, ms integer, level integer CHECK (level BETWEEN 0 AND 21),"
                 " at_ms bigint NOT NULL,"
                 " CHECK (kind <> 'completion' OR (exercise >= 1 AND ms >= 0)),"
                 " CHECK (kind <> 'level' OR level IS NOT NULL))"),
             QStringLiteral("CREATE INDEX progress_events_by_pupil"
                            " ON progress_events (pupil, kind, at_ms)"),
             kAddAnswer,
             kAddRun,
             kAddProgressEvent,
             kPupilProgress,
             kPupilBestTimes,
         }},
        {2,
         {
             // A pupil who left stays for their work; a computer may still send theirs.
             QStringLiteral(
                 "ALTER TABLE pupils ADD COLUMN \"left\" boolean NOT NULL DEFAULT false"),
             // "Now": the class's answers of the last minutes, whoever gave them.
             QStringLiteral("CREATE INDEX answers_by_time ON answers (at_ms)"),
             // Each pupil's fastest answers, which their key time is read from.
             QStringLiteral("CREATE INDEX answers_by_pupil_ms ON answers (pupil, ms)"),
             kRemovePupil,
         }},
        {3, {kPupilProgressSinceNewGame}},
    };
    return kSteps;
}

const QStringList& ClassSchema::tables() {
    static const QStringList kTables{QStringLiteral("pupils"), QStringLiteral("answers"),
                                     QStringLiteral("runs"), QStringLiteral("progress_events"),
                                     QStringLiteral("class_schema_version")};
    return kTables;
}

const QStringList& ClassSchema::views() {
    static const QStringList kViews{QStringLiteral("pupil_progress"),
                                    QStringLiteral("pupil_best_times")};
    return kViews;
}

const QStringList& ClassSchema::addingFunctions() {
    static const QStringList kFunctions{
        QStringLiteral("add_answer(uuid, text, text, bigint, date, integer, text, text, text,"
                       " boolean, integer, text, text, text, integer, integer, integer,"
                       " integer, integer, text, text, boolean)"),
        QStringLiteral("add_run(uuid, text, text, integer, text, bigint, integer)"),
        QStringLiteral(
            "add_progress_event(uuid, text, text, text, integer, integer, integer, bigint)")};
    return kFunctions;
}

const QStringList& ClassSchema::teacherFunctions() {
    static const QStringList kFunctions{QStringLiteral("remove_pupil(integer)")};
    return kFunctions;
}

QString ClassSchema::versionProblem(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COALESCE(max(version), 0) FROM class_schema_version")) ||
        !query.next()) {
        return QStringLiteral("this database holds no class: run 'sumbrook class init' on it");
    }
    const int version = query.value(0).toInt();
    if (version < latestVersion()) {
        return QStringLiteral(
                   "the class's database is of an older version (%1; this program reads %2): "
                   "run 'sumbrook class init' once with the administrator's login to bring it "
                   "up to date")
            .arg(version)
            .arg(latestVersion());
    }
    if (version > latestVersion()) {
        return QStringLiteral(
                   "the class's database is of a newer version (%1) than this program reads "
                   "(%2): install the newer Sumbrook here")
            .arg(version)
            .arg(latestVersion());
    }
    return {};
}

ClassSchema::Migration ClassSchema::migrate(QSqlDatabase& db, QSqlError& error) {
    QSqlQuery query(db);
    const auto fail = [&] {
        error = query.lastError();
        return Migration::Failed;
    };
    // Everything is made in public, whatever the login's own search_path says; the lock
    // (per database) holds a second set-up back until this one's transaction ends.
    if (!query.exec(QStringLiteral("SET LOCAL search_path = public, pg_temp")) ||
        !query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('sumbrook class'))")) ||
        !query.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS class_schema_version (version integer NOT NULL)")) ||
        !query.exec(QStringLiteral("SELECT COALESCE(max(version), 0) FROM class_schema_version")) ||
        !query.next()) {
        return fail();
    }
    const int current = query.value(0).toInt();
    query.finish();
    if (current > latestVersion()) {
        return Migration::Newer;
    }
    for (const Step& step : steps()) {
        if (step.version <= current) {
            continue;
        }
        for (const QString& statement : step.statements) {
            if (!query.exec(statement)) {
                return fail();
            }
        }
    }
    if (current != latestVersion() &&
        (!query.exec(QStringLiteral("DELETE FROM class_schema_version")) ||
         !query.exec(QStringLiteral("INSERT INTO class_schema_version VALUES (%1)")
                         .arg(latestVersion())))) {
        return fail();
    }
    return Migration::Ready;
}

}  // namespace sumbrook
