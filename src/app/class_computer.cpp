#include "class_computer.h"

#include "classroom/class_config.h"
#include "classroom/class_sync.h"
#include "journal/practice_journal.h"

namespace sumbrook {

std::unique_ptr<ClassComputer> ClassComputer::start(std::shared_ptr<PracticeJournal> journal) {
    const std::optional<ConnectionString> server = ClassConfig().read();
    if (!server) {
        return nullptr;
    }
    auto sync = std::make_unique<ClassSync>(journal->filePath(), *server);
    return std::unique_ptr<ClassComputer>(new ClassComputer(std::move(journal), std::move(sync)));
}

ClassComputer::ClassComputer(std::shared_ptr<PracticeJournal> journal,
                             std::unique_ptr<ClassSync> sync)
    : journal_(std::move(journal)), sync_(std::move(sync)) {
    journal_->setOnWritten([s = sync_.get()] { s->wake(); });
}

ClassComputer::~ClassComputer() {
    // The writer may still commit after the sync is gone; it must not wake it then.
    journal_->setOnWritten({});
}

}  // namespace sumbrook
