#pragma once

#include <QRectF>
#include <QString>
#include <cstdint>
#include <optional>

#include "practice/core/practice_loop.h"
#include "practice/core/question.h"

namespace sumbrook {

// Questions are equal when everything they show is equal.
bool operator==(const TwoNumberQuestion& a, const TwoNumberQuestion& b);
bool operator==(const ExpressionQuestion& a, const ExpressionQuestion& b);
bool operator==(const MoneyQuestion& a, const MoneyQuestion& b);
bool operator==(const ClockQuestion& a, const ClockQuestion& b);

// Everything that decides what the stage shows, apart from what moves by itself (the
// running time, the caret, the bear's little animations, the sparkle trail). Two looks
// compare field by field; when the look of one step equals the last, only the moving
// parts need repainting.
struct StageLook {
    bool started = false;
    Screen screen = Screen::Stat;
    SettingsPanel panel = SettingsPanel::Hidden;
    int panelSlide = 0;
    ConfirmBox box = ConfirmBox::None;
    bool exitVisible = false;
    std::optional<Question> question;
    QString answer;
    QString minute;
    int activeField = 0;
    int fenshu = 0;
    int tishu = 0;
    int tishudui = 0;
    std::int64_t tishuLs = 0;
    std::int64_t tishuduiLs = 0;
    QString level;
    QString bestTime;
    int answerClip = 0;
    std::int64_t completionMs = 0;
    bool newRecord = false;
    bool reviewOffered = false;
    int gameLevel = 0;
    double marker = 0;
    int yinliang = 0;
    QString song;
    bool songRepeats = false;
    QString pressedCaption;
    QRectF pressedRect;

    bool operator==(const StageLook&) const = default;
};

// What the cached backdrop holds: the screen's scenery, and the panel or box standing
// still in front of it. A new key means the backdrop is drawn again.
struct BackdropKey {
    bool started = false;
    Screen screen = Screen::Stat;
    bool exitVisible = false;
    bool panelShown = false;
    ConfirmBox box = ConfirmBox::None;
    // The main menu's buttons stand elsewhere while "错题复习" is among them.
    bool reviewOffered = false;
    // Behind a box the whole screen stands still and is part of the backdrop.
    std::optional<StageLook> behindBox;
    // An answer screen shows nothing that changes by itself but its running time and the
    // bear: what it shows is part of the backdrop.
    std::optional<StageLook> answerShown;
    // While nothing moves over them, the controls stand in the backdrop too, the one held
    // down drawn pressed.
    bool controls = false;
    QString pressedCaption;
    QRectF pressedRect;
    // With the settings panel's controls: its values.
    int volume = 0;
    QString song;
    bool songRepeats = false;

    bool operator==(const BackdropKey&) const = default;
};

}  // namespace sumbrook
