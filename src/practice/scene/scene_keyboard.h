#pragma once

#include <QString>
#include <Qt>
#include <map>

#include "practice/core/screen.h"

namespace sumbrook {

class PracticeStage;

// The physical keyboard on the question and answer screens. A key that has an on-screen
// twin presses that control when it goes down and lets go of it when it comes up, so it
// acts, sounds and looks exactly as a tap on the control does: digits type, Backspace is
// "←", Enter is "确定" on a question screen and "下一题" on an answer screen. Every other
// key, and every key on the other screens, is left to the window.
class SceneKeyboard {
  public:
    explicit SceneKeyboard(PracticeStage& stage) : stage_(stage) {}

    // The caption of the control that `key` stands for on `screen`; empty when none.
    // Keys held with Ctrl, Alt or Meta stand for nothing: those are the window's shortcuts.
    static QString captionFor(int key, Qt::KeyboardModifiers modifiers, Screen screen);

    // A key went down or came up; true when the scene took it. A key held down repeats
    // nothing, as a held on-screen key does not.
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    bool keyReleased(int key, bool autoRepeat);

  private:
    PracticeStage& stage_;
    // The keys that are down, with the caption each pressed: Enter comes up on a screen
    // other than the one it went down on.
    std::map<int, QString> held_;
};

}  // namespace sumbrook
