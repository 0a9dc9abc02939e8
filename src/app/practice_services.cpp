#include "practice_services.h"

#include "journal/journal_recorder.h"
#include "journal/practice_journal.h"
#include "review_source.h"

namespace sumbrook {

SceneServices practiceServices() {
    SceneServices services = SceneServices::forThisMachine();
    auto journal = std::make_shared<PracticeJournal>(ProgressStore::defaultDirectory());
    journal->open();
    const int child = journal->currentChildId();
    services.store = std::make_shared<ProgressStore>(journal->storeDirectory(child));
    services.reviewSource = reviewSourceFor(journal, child);
    services.observer = std::make_shared<JournalRecorder>(std::move(journal), child);
    return services;
}

}  // namespace sumbrook
