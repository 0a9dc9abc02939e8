#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <memory>
#include <optional>
#include <vector>

#include "common/monotonic_clock.h"
#include "common/uniform_source.h"
#include "practice/core/practice_loop.h"
#include "practice/core/progress_records.h"
#include "practice/core/progress_store.h"
#include "practice/core/sound_channel.h"
#include "practice/core/sparkle_trail.h"
#include "stage_control.h"
#include "stage_look.h"

namespace sumbrook {

// The practice scene on its 800 × 600 stage: the practice loop with its controls laid
// out, pointer presses and releases turned into their actions, and one paint() that draws
// the whole stage. Knows nothing of widgets or windows; a SceneWidget shows it.
class PracticeStage {
  public:
    // The observer, when given, is told of the practice's runs, answers and completions;
    // it must outlive the stage.
    PracticeStage(ProgressStore& store, std::unique_ptr<SoundChannel> channel,
                  UniformSource& source, const MonotonicClock& clock,
                  PracticeObserver* observer = nullptr);
    ~PracticeStage();

    // Start-up: the store opened and checked, the intro begun. Until then the stage is
    // empty and still (a host has no movie to play yet): it neither steps, nor offers
    // controls, nor paints.
    void start();
    bool started() const { return started_; }
    // One display step (12 per second).
    void step();
    // Ends an exercise under way and writes the progress store as it stands (the program
    // is closing). A stage that never started never read the store, so it leaves the store
    // alone.
    void close();

    void paint(QPainter& painter) const;

    // --- the pointer, in stage units
    void pointerMoved(QPointF at);
    void pointerPressed(QPointF at);
    void pointerReleased(QPointF at);
    QPointF pointer() const { return pointer_; }

    // --- controls, found by caption
    std::vector<StageControl> controls() const;
    std::optional<StageControl> control(const QString& caption) const;
    // Presses and releases a control at its centre; false when no such control is up.
    bool click(const QString& caption);
    bool press(const QString& caption);
    bool release(const QString& caption);
    bool isPressed(const StageControl& control) const;

    // --- the root variables the host reads and writes
    QString dongzuo() const { return loop_.dongzuo(); }
    void setDongzuo(const QString& value) { loop_.setDongzuo(value); }
    QString quanping() const { return loop_.quanping(); }
    void setQuanping(const QString& value) { loop_.setQuanping(value); }

    const PracticeLoop& loop() const { return loop_; }
    PracticeLoop& loop() { return loop_; }
    const ProgressRecords& records() const { return records_; }
    const SparkleTrail& sparkles() const { return sparkles_; }
    int stepCount() const { return steps_; }
    // Display steps since the current screen came up.
    int stepsOnScreen() const { return steps_ - screenSince_; }
    // True when a 50 ms volume repeat should be running.
    bool volumeHeld() const { return loop_.music().holding(); }

    // Everything that decides the stage's look apart from what moves by itself; when it
    // is unchanged from one step to the next, only movingRects() need repainting.
    StageLook look() const;
    // The parts of the stage that change at this step on the screen that is up (the
    // caret only on the steps it blinks).
    std::vector<QRectF> movingRects() const;
    // What the backdrop holds; paintBackdrop() draws the same picture for the same key.
    BackdropKey backdropKey() const;
    // The screen's scenery and whatever stands still in front of it: never changes while
    // backdropKey() stays the same, so it may be cached.
    void paintBackdrop(QPainter& painter) const;
    // The backdrop in two layers: the scenery, still while only the press of a control
    // changes, and the controls drawn over it (when they stand in the backdrop at all).
    BackdropKey sceneryKey() const;
    void paintScenery(QPainter& painter) const;
    void paintBackdropControls(QPainter& painter) const;
    // Everything else, drawn over the backdrop; only what meets `region` (stage units).
    void paintForeground(QPainter& painter, const QRectF& region = QRectF(0, 0, 800, 600)) const;

  private:
    void addScreenControls(std::vector<StageControl>& controls) const;
    std::optional<StageControl> controlAt(QPointF at) const;
    void paintControls(QPainter& painter, const QRectF& region) const;
    // True when nothing in front of the screen and none of its moving parts can cover a
    // control: the controls are then drawn into the backdrop.
    bool controlsInBackdrop() const;

    ProgressStore& store_;
    ProgressRecords records_;
    std::unique_ptr<SoundChannel> channel_;
    PracticeLoop loop_;
    // What the controls act on: the same loop, reached from the const lay-out of controls.
    PracticeLoop* actions_;
    SparkleTrail sparkles_;
    QPointF pointer_{-100, -100};
    bool started_ = false;
    int steps_ = 0;
    int screenSince_ = 0;
    // Where the stars lit before the last step stood: repainted once more, so that a star
    // that went out leaves nothing of itself behind.
    std::vector<QRectF> starsBefore_;
    Screen lastScreen_ = Screen::Stat;
    QString pressedCaption_;
    QRectF pressedRect_;
    bool overSettings_ = false;
};

}  // namespace sumbrook
