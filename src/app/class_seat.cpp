#include "class_seat.h"

#include "classroom/class_log.h"
#include "journal/practice_journal.h"

namespace sumbrook {

bool seatPupil(PracticeJournal& journal, const ClassPupil& pupil) {
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
    return true;
}

}  // namespace sumbrook
