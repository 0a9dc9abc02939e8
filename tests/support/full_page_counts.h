#pragma once

#include <vector>

#include "worksheet/core/worksheet_counts.h"

namespace sumbrook::testing {

// A full sheet of settings page `page` (30 questions, 21 vertical forms, 10 clocks), the
// page's subtypes taken in turn.
inline WorksheetCounts fullPage(int page) {
    WorksheetCounts counts;
    const std::vector<int> tags = tagsOfPage(page);
    const int total = page == 3 ? 10 : page == 2 ? 21 : 30;
    for (int i = 0; i < total; ++i) {
        const int tag = tags[static_cast<std::size_t>(i) % tags.size()];
        counts.setCount(tag, counts.count(tag) + 1);
    }
    return counts;
}

}  // namespace sumbrook::testing
