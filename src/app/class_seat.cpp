#include "class_seat.h"

#include "classroom/class_connection.h"
#include "classroom/class_log.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_records.h"

namespace sumbrook {

ClassArrival ClassArrival::read(const ConnectionString& where, const QString& dataDirectory) {
    ClassArrival arrival{ClassRoster::read(where, dataDirectory), std::nullopt, {}};
    if (arrival.roster.source() != ClassRoster::Source::Server) {
        arrival.progressError = QStringLiteral("the class's server did not answer");
        return arrival;
    }
    ConnectionString quick = where;
    if (quick.value(QStringLiteral("connect_timeout")).isEmpty()) {
        quick.set(QStringLiteral("connect_timeout"),
                  QString::number(ClassRoster::kConnectTimeoutSeconds));
    }
    ClassConnection connection(std::move(quick));
    if (!connection.open()) {
        arrival.progressError = connection.error();
        return arrival;
    }
    QSqlDatabase db = connection.database();
    arrival.progress = PupilProgress::readAll(db, arrival.progressError);
    return arrival;
}

bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil, const ClassArrival* arrival) {
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
    if (arrival == nullptr || !arrival->progress) {
        qCInfo(classLog).noquote()
            << QStringLiteral(
                   "pupil %1's progress on other computers cannot be read now (%2); "
                   "this computer's copy is used")
                   .arg(pupil.number, arrival == nullptr
                                          ? QStringLiteral("the server has not answered yet")
                                          : arrival->progressError);
        return true;
    }
    const auto found = arrival->progress->find(pupil.number);
    const PupilProgress progress =
        found == arrival->progress->end() ? PupilProgress{} : found->second;
    ProgressStore store(journal.storeDirectory(id));
    ProgressRecords records(store);
    records.load();
    progress.applyTo(journal, id, records);
    return true;
}

}  // namespace sumbrook
