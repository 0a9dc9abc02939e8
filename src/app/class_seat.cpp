#include "class_seat.h"

#include "classroom/class_connection.h"
#include "classroom/class_log.h"
#include "classroom/pupil_progress.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_records.h"

namespace sumbrook {

namespace {

constexpr int kConnectTimeoutSeconds = 3;

// Nothing, with the reason in `error`, when the server cannot answer now.
std::optional<PupilProgress> progressOnServer(ConnectionString where, const QString& number,
                                              QString& error) {
    if (where.value(QStringLiteral("connect_timeout")).isEmpty()) {
        where.set(QStringLiteral("connect_timeout"), QString::number(kConnectTimeoutSeconds));
    }
    ClassConnection connection(std::move(where));
    if (!connection.open()) {
        error = connection.error();
        return std::nullopt;
    }
    QSqlDatabase db = connection.database();
    return PupilProgress::read(db, number, error);
}

}  // namespace

bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil, const ConnectionString& server) {
    // The child of the pupil's number: the pupil's journal and progress whatever their name
    // is now, and the rows the sync worker sends under that number.
    const int id = journal.childForPupil(pupil.number, pupil.name.trimmed());
    if (id == 0 || !journal.chooseChild(id)) {
        qCWarning(classLog).noquote()
            << QStringLiteral(
                   "pupil %1 cannot be seated (the journal cannot take them); the last child "
                   "chosen practises")
                   .arg(pupil.number);
        return false;
    }
    QString error;
    const std::optional<PupilProgress> progress = progressOnServer(server, pupil.number, error);
    if (!progress) {
        qCInfo(classLog).noquote()
            << QStringLiteral(
                   "pupil %1's progress on other computers cannot be read now (%2); "
                   "this computer's copy is used")
                   .arg(pupil.number, error);
        return true;
    }
    ProgressStore store(journal.storeDirectory(id));
    ProgressRecords records(store);
    records.load();
    progress->mergeInto(records);
    return true;
}

}  // namespace sumbrook
