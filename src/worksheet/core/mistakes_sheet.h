#pragma once

#include <QString>
#include <QVector>
#include <vector>

#include "arithmetic_fact.h"
#include "fill_worksheet.h"
#include "journal/journal_types.h"
#include "sheet.h"

namespace sumbrook {

// A practice sheet of the facts a child got wrong: the missed facts in the order given
// (most recently and most often missed first), each once, topped up with facts a step
// away in the same exercise when there are too few to fill the sheet. It stands on the
// arithmetic template, two facts a row, titled "错题练习", with its answer key. Missed
// clock facts stand under the sums as clock faces, two a row in the room of three rows of
// sums, each with the clock sheet's blanks for the time. Money facts are counted, not
// printed (a coin would need a sheet of its own).
class MistakesSheet {
  public:
    static constexpr int kCapacity = 30;  // the arithmetic template's question cells
    static constexpr int kMaxClockRows = 3;
    static constexpr int kSumRowsPerClockRow = 3;

    struct Item {
        int exercise = 0;
        ArithmeticFact fact;
        bool missed = false;  // false for a neighbour that tops the sheet up
    };
    struct ClockItem {
        int hour = 0;
        int minute = 0;
    };

    // `facts` ranked as the journal ranks them; at most `capacity` sums, less six for each
    // row of clock faces.
    static MistakesSheet build(const QVector<MissedFact>& facts, int capacity = kCapacity);

    const std::vector<Item>& items() const { return items_; }
    const std::vector<ClockItem>& clocks() const { return clocks_; }
    bool isEmpty() const { return items_.empty() && clocks_.empty(); }
    int missedCount() const;
    // Missed clock facts beyond the sheet's rows of faces, and money facts: left out.
    int clockFactsLeftOut() const { return clockLeftOut_; }
    int moneyFactsLeftOut() const { return moneyLeftOut_; }
    // Missed facts the journal has no fact for (old rows it could not read), or whose
    // numbers do not make a sum: left out rather than printed wrong.
    int unreadableLeftOut() const { return unreadable_; }
    // One sentence for the parent on what was left out; empty when nothing was.
    QString leftOutNote() const;

    // The sheet and its answer key; `childName` goes on the name line when given, and
    // `faces` draws the clock faces (without it their cells hold only the blanks).
    Sheet sheet(const QString& childName = QString(), const ClockFaceRenderer& faces = {}) const;
    Sheet answerKey(const QString& childName = QString(),
                    const ClockFaceRenderer& faces = {}) const;
    // "钟面 3:15": a clock item as the command line lists it.
    static QString clockText(const ClockItem& clock);

    static QString title() { return QStringLiteral("错题练习"); }

  private:
    Sheet fill(const QString& childName, const ClockFaceRenderer& faces, bool withAnswers) const;

    std::vector<Item> items_;
    std::vector<ClockItem> clocks_;
    int clockLeftOut_ = 0;
    int moneyLeftOut_ = 0;
    int unreadable_ = 0;
};

}  // namespace sumbrook
