#include "practice_services.h"

#include "journal/journal_recorder.h"
#include "journal/practice_journal.h"
#include "review_source.h"

namespace sumbrook {

std::shared_ptr<PracticeJournal> openPracticeJournal() {
    auto journal = std::make_shared<PracticeJournal>(ProgressStore::defaultDirectory());
    journal->open();
    return journal;
}

SceneServices practiceServices(std::shared_ptr<PracticeJournal> journal) {
    SceneServices services = SceneServices::forThisMachine();
    const int child = journal->currentChildId();
    services.store = std::make_shared<ProgressStore>(journal->storeDirectory(child));
    services.reviewSource = reviewSourceFor(journal, child);
    services.observer = std::make_shared<JournalRecorder>(std::move(journal), child);
    return services;
}

}  // namespace sumbrook
