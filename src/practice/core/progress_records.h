#pragma once

#include <array>
#include <cstdint>

#include "progress_store.h"

namespace sumbrook {

// What the practice remembers across runs, read from and written to the progress store:
// the best time of each exercise, the lifetime counts of questions and right answers and
// the game level. Damaged values are read by fallback rules, never trusted blindly.
class ProgressRecords {
  public:
    static constexpr std::int64_t kNoBestTime = 3600000;  // one hour: no best time yet
    static constexpr int kSlots = 50;
    static constexpr int kInitialisedMarker = 123;
    static constexpr int kFinalLevel = 21;

    explicit ProgressRecords(ProgressStore& store) : store_(store) {}

    // Opens the store and checks it: a store never initialised gets its defaults and is
    // written at once; a damaged best-time list or count is replaced in memory.
    void load();

    std::int64_t bestTime(int xiangm) const;
    // Takes elapsed as the exercise's best time when it is strictly faster, then writes
    // the list and the store whether or not the record changed. True for a new record.
    bool recordCompletion(int xiangm, std::int64_t elapsedMs);

    std::int64_t tishuLs() const { return tishuLs_; }
    std::int64_t tishuduiLs() const { return tishuduiLs_; }
    // One more question answered / answered right; the count goes into the store's
    // memory image and reaches the disk with its next write.
    void countQuestion();
    void countRightAnswer();
    // Raises each lifetime count to the one given where that is higher (the counts of the
    // same child kept elsewhere); written with the store's next write.
    void raiseCounts(std::int64_t questions, std::int64_t rightAnswers);

    // The game level 0..21 as the store holds it now; a damaged value reads as 0, one
    // out of range as the nearest level.
    int level() const;
    // Sets the level and writes the store.
    void setLevel(int level);

    // Forgets every best time and both lifetime counts, in memory and on disk. The game
    // level stays.
    void clearHistory();

    // Writes the store as it stands (at program close).
    bool flush() { return store_.flush(); }

  private:
    void initialise();

    ProgressStore& store_;
    std::array<std::int64_t, kSlots> timeLs_{};
    std::int64_t tishuLs_ = 0;
    std::int64_t tishuduiLs_ = 0;
};

}  // namespace sumbrook
