#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace sumbrook {

// The settings pages: 0 加减, 1 乘除, 2 竖式, 3 钟面, 4 关于, 5 帮助.
constexpr int kSettingsPages = 6;
constexpr int kFirstTag = 1;
constexpr int kLastTag = 25;

struct CountField {
    int tag;              // 1..25
    int page;             // 0..3
    const char* control;  // the form's control name, e.g. "编辑框21"
    const char* label;    // UTF-8
};

// The 25 count fields in the order they stand on their pages (page 3 lists tag 25 third).
const std::array<CountField, 25>& countFields();
const CountField& countField(int tag);  // tag 1..25
// The tags of a page in their order on it (page 3: 21, 22, 25, 23, 24); empty for 4, 5.
std::vector<int> tagsOfPage(int page);
// The description shown above the tabs when the page is chosen.
QString pageDescription(int page);
QString tabCaption(int page);

// How many questions of each subtype are asked for, indexed by tag (1..25), as the
// decimal reading of each field's text.
class WorksheetCounts {
  public:
    double count(int tag) const { return counts_.at(static_cast<std::size_t>(tag)); }
    void setCount(int tag, double n) { counts_.at(static_cast<std::size_t>(tag)) = n; }
    // The sum over the page's own fields.
    double pageSum(int page) const;

  private:
    std::array<double, kLastTag + 1> counts_{};
};

// The window's check before generating: the message to show when the page's own sum
// breaks its rule (at most 30 on pages 0 and 1, at most 21 on page 2, exactly 10 on
// page 3), or nothing when the sheet may be generated.
std::optional<QString> validatePage(int page, const WorksheetCounts& counts);

}  // namespace sumbrook
