#pragma once

#include <memory>

namespace sumbrook {

class ClassSync;
class PracticeJournal;

// A computer of a class: where class.conf names the class's server, the journal's rows
// of the pupils who practise here are sent to it as they are written, by a sync worker
// that lives as long as this. A family's computer has none.
class ClassComputer {
  public:
    // Nothing when this is no class computer.
    static std::unique_ptr<ClassComputer> start(std::shared_ptr<PracticeJournal> journal);
    ~ClassComputer();
    ClassComputer(const ClassComputer&) = delete;
    ClassComputer& operator=(const ClassComputer&) = delete;

    PracticeJournal& journal() const { return *journal_; }
    ClassSync& sync() const { return *sync_; }

  private:
    ClassComputer(std::shared_ptr<PracticeJournal> journal, std::unique_ptr<ClassSync> sync);

    std::shared_ptr<PracticeJournal> journal_;
    std::unique_ptr<ClassSync> sync_;
};

}  // namespace sumbrook
