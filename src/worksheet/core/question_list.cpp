#include "question_list.h"

namespace sumbrook {

bool QuestionList::AddUnique(const QString& text, const QString& answer) {
    // Every text that begins with `text` sorts at or after it, and those texts lie together,
    // so the first one not below it is the only one to look at.
    const auto next = sorted_.lower_bound(text);
    if (next != sorted_.end() && next->startsWith(text)) {
        return false;
    }
    sorted_.insert(text);
    items_.push_back({text, answer});
    return true;
}

}  // namespace sumbrook
