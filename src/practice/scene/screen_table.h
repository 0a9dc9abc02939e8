#pragma once

#include <QRectF>
#include <functional>
#include <vector>

#include "practice/core/practice_loop.h"
#include "stage_control.h"

namespace sumbrook {

// The screens and their controls in one table: for each screen the controls it offers,
// each with its caption, rectangle, trigger, look and what it does to the practice loop.
// Menu entries come from the exercise catalogue; the settings panel and the boxes have
// rows of their own.
struct ControlRow {
    const char* caption;
    QRectF rect;
    StageControl::Trigger trigger;
    scene_style::ButtonKind kind;
    std::function<void(PracticeLoop&)> action;
    std::function<void(PracticeLoop&)> letGo = {};  // Hold only
    const char* name = "";                          // the scene's own name, e.g. "go_btn"
};

namespace screen_table {

// The controls of `screen` while nothing stands in front of it; the main menu offers
// "错题复习" only while a review is due.
std::vector<ControlRow> screenControls(Screen screen, bool reviewOffered = false);
// The settings panel's controls once it has slid in.
const std::vector<ControlRow>& panelControls();
// A confirmation box's "确定" and "取消".
const std::vector<ControlRow>& boxControls();
// The rows made into controls acting on `loop`.
void addControls(const std::vector<ControlRow>& rows, PracticeLoop& loop,
                 std::vector<StageControl>& controls);

}  // namespace screen_table
}  // namespace sumbrook
