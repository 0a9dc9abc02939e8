#pragma once

#include <QString>
#include <QVector>
#include <vector>

#include "arithmetic_fact.h"
#include "journal/journal_types.h"
#include "sheet.h"

namespace sumbrook {

// A practice sheet of the facts a child got wrong: the missed facts in the order given
// (most recently and most often missed first), each once, topped up with facts a step
// away in the same exercise when there are too few to fill the sheet. It stands on the
// arithmetic template, two facts a row, titled "错题练习", with its answer key.
// The clock and money exercises have no written sums; their facts are counted, not
// printed (a clock face or a coin would need a sheet of its own).
class MistakesSheet {
  public:
    static constexpr int kCapacity = 30;  // the arithmetic template's question cells

    struct Item {
        int exercise = 0;
        ArithmeticFact fact;
        bool missed = false;  // false for a neighbour that tops the sheet up
    };

    // `facts` ranked as the journal ranks them; at most `capacity` items.
    static MistakesSheet build(const QVector<MissedFact>& facts, int capacity = kCapacity);

    const std::vector<Item>& items() const { return items_; }
    bool isEmpty() const { return items_.empty(); }
    int missedCount() const;
    // Missed facts of the clock and money exercises, which the sheet leaves out.
    int clockFactsLeftOut() const { return clockLeftOut_; }
    int moneyFactsLeftOut() const { return moneyLeftOut_; }
    // Missed facts whose question could not be read as a sum, or whose recorded answer
    // is not the sum's: left out rather than printed wrong.
    int unreadableLeftOut() const { return unreadable_; }
    // One sentence for the parent on what was left out; empty when nothing was.
    QString leftOutNote() const;

    // The sheet and its answer key; `childName` goes on the name line when given.
    Sheet sheet(const QString& childName = QString()) const;
    Sheet answerKey(const QString& childName = QString()) const;

    static QString title() { return QStringLiteral("错题练习"); }

  private:
    Sheet fill(const QString& childName, bool withAnswers) const;

    std::vector<Item> items_;
    int clockLeftOut_ = 0;
    int moneyLeftOut_ = 0;
    int unreadable_ = 0;
};

}  // namespace sumbrook
