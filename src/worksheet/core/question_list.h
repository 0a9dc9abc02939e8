#pragma once

#include <QString>
#include <set>
#include <vector>

namespace sumbrook {

// One generated question of a sheet: the text that is printed, and its answer as the
// answer key writes it.
struct WorksheetQuestion {
    QString text;
    QString answer;
};

// The questions of one sheet in the order they were generated. AddUnique refuses a text
// that an item already begins with, so no question stands on a sheet twice.
class QuestionList {
  public:
    // False, and nothing added, when an item already begins with `text`.
    bool AddUnique(const QString& text, const QString& answer = QString());
    void clear() {
        items_.clear();
        sorted_.clear();
    }
    int size() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    // 1-based, as the sheet's question order counts.
    const WorksheetQuestion& at(int position) const {
        return items_.at(static_cast<std::size_t>(position - 1));
    }
    const std::vector<WorksheetQuestion>& items() const { return items_; }

  private:
    std::vector<WorksheetQuestion> items_;
    // The same texts in sorted order, so that the prefix test stays fast on long lists.
    std::set<QString> sorted_;
};

}  // namespace sumbrook
