#include "class_seat.h"

#include "classroom/class_log.h"
#include "journal/practice_journal.h"
#include "practice/core/progress_store.h"

namespace sumbrook {

bool seatPupil(const ClassPupil& pupil) {
    PracticeJournal journal(ProgressStore::defaultDirectory());
    const auto failed = [&pupil](const char* why) {
        qCWarning(classLog).noquote()
            << QStringLiteral("pupil %1 cannot be seated (%2); the last child chosen practises")
                   .arg(pupil.number, QLatin1String(why));
        return false;
    };
    if (!journal.open()) {
        return failed("the journal cannot be opened");
    }
    // Until the journal knows pupils by number, a pupil is the family child of that name.
    const QString name = pupil.name.trimmed();
    int id = 0;
    for (const Child& child : journal.children()) {
        if (child.name == name) {
            id = child.id;
            break;
        }
    }
    if (id == 0) {
        id = journal.addChild(name);
    }
    if (id == 0 || !journal.chooseChild(id)) {
        return failed("the journal cannot take them as a child");
    }
    return true;
}

}  // namespace sumbrook
