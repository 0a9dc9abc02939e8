#include "screen_table.h"

#include "practice/core/exercise_catalogue.h"
#include "practice/core/music_rules.h"
#include "stage_layout.h"

namespace sumbrook::screen_table {

namespace {

namespace layout = stage_layout;
using Trigger = StageControl::Trigger;
using Kind = scene_style::ButtonKind;

std::vector<ControlRow> mainMenu(bool review) {
    std::vector<ControlRow> rows{
        {"自选模式", layout::mainMenuButton(0, review), Trigger::Release, Kind::Primary,
         [](PracticeLoop& l) { l.chooseSelfMode(); }},
        {"游戏模式", layout::mainMenuButton(1, review), Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.chooseGameMode(); }},
    };
    if (review) {
        rows.push_back({"错题复习", layout::mainMenuButton(2, review), Trigger::Release,
                        Kind::Bright, [](PracticeLoop& l) { l.chooseReview(); }});
    }
    rows.push_back({"设置", layout::mainMenuButton(review ? 3 : 2, review), Trigger::Press,
                    Kind::Quiet, [](PracticeLoop& l) { l.openSettings(); }});
    return rows;
}

const std::vector<ControlRow>& menuPage(int page) {
    static const std::vector<ControlRow> first{
        {"总目录", layout::kMenuBottomLeft, Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.mainMenu(); }},
        {"下页", layout::kMenuBottomRight, Trigger::Release, Kind::Primary,
         [](PracticeLoop& l) { l.nextPage(); }},
    };
    static const std::vector<ControlRow> second{
        {"总目录", layout::kMenuBottomLeft, Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.mainMenu(); }},
        {"上页", layout::kMenuBottomRight, Trigger::Release, Kind::Primary,
         [](PracticeLoop& l) { l.previousPage(); }},
    };
    return page == 1 ? first : second;
}

const std::vector<ControlRow>& completion() {
    static const std::vector<ControlRow> rows{
        {"确定", layout::kCompletionOk, Trigger::Release, Kind::Confirm,
         [](PracticeLoop& l) { l.confirm(); }},
    };
    return rows;
}

const std::vector<ControlRow>& gameMap() {
    static const std::vector<ControlRow> rows{
        {"开始",
         layout::kMapStart,
         Trigger::Release,
         Kind::Confirm,
         [](PracticeLoop& l) { l.startLevel(); },
         {},
         "go_btn"},
        {"重新开始", layout::kMapRestart, Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.askRestartGame(); }},
        {"返回", layout::kMapBack, Trigger::Release, Kind::Primary,
         [](PracticeLoop& l) { l.back(); }},
    };
    return rows;
}

// Keypad keys act when pressed.
const std::vector<ControlRow>& keypad() {
    static const std::vector<ControlRow> rows = [] {
        const char* const captions[] = {"7", "8", "9", "4", "5", "6",
                                        "1", "2", "3", "0", "←", "确定"};
        std::vector<ControlRow> keys;
        for (int i = 0; i < 10; ++i) {
            const int digit = QString::fromUtf8(captions[i]).toInt();
            keys.push_back({captions[i], layout::keypadKey(i), Trigger::Press, Kind::Key,
                            [digit](PracticeLoop& l) { l.typeDigit(digit); }});
        }
        keys.push_back({"←", layout::keypadKey(10), Trigger::Press, Kind::Erase,
                        [](PracticeLoop& l) { l.erase(); }});
        keys.push_back({"确定", layout::keypadKey(11), Trigger::Press, Kind::Confirm,
                        [](PracticeLoop& l) { l.confirm(); }});
        return keys;
    }();
    return rows;
}

// "返回" acts on release, "下一题" when pressed.
const std::vector<ControlRow>& backAndNext() {
    static const std::vector<ControlRow> rows{
        {"返回", layout::kBack, Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.back(); }},
        {"下一题", layout::kNext, Trigger::Press, Kind::Primary,
         [](PracticeLoop& l) { l.nextQuestion(); }},
    };
    return rows;
}

void append(std::vector<ControlRow>& to, const std::vector<ControlRow>& rows) {
    to.insert(to.end(), rows.begin(), rows.end());
}

}  // namespace

std::vector<ControlRow> screenControls(Screen screen, bool reviewOffered) {
    std::vector<ControlRow> rows;
    if (screen == Screen::Zhongmulu) {
        append(rows, mainMenu(reviewOffered));
    } else if (screen == Screen::Mulu1 || screen == Screen::Mulu2) {
        append(rows, menuPage(screen == Screen::Mulu1 ? 1 : 2));
    } else if (screen == Screen::Fen100) {
        append(rows, completion());
    } else if (isGameMap(screen)) {
        append(rows, gameMap());
    }
    if (isQuestionScreen(screen)) {
        append(rows, keypad());
    }
    if (isQuestionScreen(screen) || isAnswerScreen(screen)) {
        append(rows, backAndNext());
    }
    return rows;
}

const std::vector<ControlRow>& panelControls() {
    static const std::vector<ControlRow> rows = [] {
        std::vector<ControlRow> panel;
        const auto& choices = MusicRules::choices();
        for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
            panel.push_back({choices[static_cast<std::size_t>(i)].caption, layout::songChoice(i),
                             Trigger::Release, Kind::Quiet,
                             [i](PracticeLoop& l) { l.chooseSong(i); }});
        }
        const auto letGo = [](PracticeLoop& l) { l.releaseVolume(); };
        panel.push_back({"+", layout::kVolumeUp, Trigger::Hold, Kind::Secondary,
                         [](PracticeLoop& l) { l.holdVolume(1); }, letGo});
        panel.push_back({"-", layout::kVolumeDown, Trigger::Hold, Kind::Secondary,
                         [](PracticeLoop& l) { l.holdVolume(-1); }, letGo});
        panel.push_back({"清除历史纪录", layout::kClearHistory, Trigger::Release, Kind::Primary,
                         [](PracticeLoop& l) { l.askClearHistory(); }});
        panel.push_back({"返回", layout::kPanelBack, Trigger::Release, Kind::Secondary,
                         [](PracticeLoop& l) { l.back(); }});
        return panel;
    }();
    return rows;
}

const std::vector<ControlRow>& boxControls() {
    static const std::vector<ControlRow> rows{
        {"确定", layout::kBoxOk, Trigger::Release, Kind::Confirm,
         [](PracticeLoop& l) { l.confirm(); }},
        {"取消", layout::kBoxCancel, Trigger::Release, Kind::Secondary,
         [](PracticeLoop& l) { l.cancel(); }},
    };
    return rows;
}

void addControls(const std::vector<ControlRow>& rows, PracticeLoop& loop,
                 std::vector<StageControl>& controls) {
    for (const ControlRow& row : rows) {
        StageControl c;
        c.caption = QString::fromUtf8(row.caption);
        c.rect = row.rect;
        c.trigger = row.trigger;
        c.kind = row.kind;
        c.name = QString::fromUtf8(row.name);
        c.action = [&loop, action = row.action] { action(loop); };
        if (row.letGo) {
            c.letGo = [&loop, letGo = row.letGo] { letGo(loop); };
        }
        controls.push_back(std::move(c));
    }
}

}  // namespace sumbrook::screen_table
