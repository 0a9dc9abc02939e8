#include "scene_keyboard.h"

#include "practice_stage.h"

namespace sumbrook {

QString SceneKeyboard::captionFor(int key, Qt::KeyboardModifiers modifiers, Screen screen) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    if (isQuestionScreen(screen)) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return QString(QChar(u'0' + (key - Qt::Key_0)));
        }
        if (key == Qt::Key_Backspace) {
            return QStringLiteral("←");
        }
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (isQuestionScreen(screen)) {
            return QStringLiteral("确定");
        }
        if (isAnswerScreen(screen)) {
            return QStringLiteral("下一题");
        }
    }
    return {};
}

bool SceneKeyboard::keyPressed(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    if (autoRepeat) {
        return held_.count(key) != 0;
    }
    if (!stage_.started()) {
        return false;
    }
    const PracticeLoop& loop = stage_.loop();
    // Over a box or the panel the screen's own controls are out of reach.
    if (loop.confirmBox() != ConfirmBox::None || loop.settingsPanel() != SettingsPanel::Hidden) {
        return false;
    }
    const QString caption = captionFor(key, modifiers, loop.screen());
    if (caption.isEmpty()) {
        return false;
    }
    // Pressing a control puts the pointer on it; the sparkle trail stays with the mouse.
    const QPointF pointer = stage_.pointer();
    const bool pressed = stage_.press(caption);
    stage_.pointerMoved(pointer);
    if (pressed) {
        held_[key] = caption;
    }
    return pressed;
}

bool SceneKeyboard::keyReleased(int key, bool autoRepeat) {
    const auto held = held_.find(key);
    if (held == held_.end()) {
        return false;
    }
    if (autoRepeat) {
        return true;
    }
    const QString caption = held->second;
    held_.erase(held);
    const QPointF pointer = stage_.pointer();
    // Nothing to let go when the mouse pressed another control meanwhile.
    if (stage_.release(caption)) {
        stage_.pointerMoved(pointer);
    }
    return true;
}

}  // namespace sumbrook
