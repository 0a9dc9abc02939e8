#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "stage_frame.h"
#include "stage_look.h"

#include "scene_keyboard.h"

namespace sumbrook {

class PracticeStage;

// Shows a practice stage in a widget: scaled to fit with its 4:3 shape kept (letterboxed
// when the widget is not 4:3, its scenery running on across the bands), 12 display steps a
// second, the pointer mapped onto the
// stage. While nothing changes on the screen only the moving parts are repainted, over a
// cached picture of the screen's scenery. It takes the keyboard focus: the keys that have
// a twin on the stage press it (SceneKeyboard).
class SceneWidget : public QWidget {
    Q_OBJECT
  public:
    explicit SceneWidget(PracticeStage& stage, QWidget* parent = nullptr);

    // Where the stage stands in the widget, in widget pixels.
    QRectF stageRect() const;
    QPointF toStage(QPointF widgetPoint) const;
    // One display step: the stage moves on and what changed is scheduled for repainting.
    void advance();
    // Repaints requested since the widget was made (full ones counted apart).
    int fullRepaints() const { return fullRepaints_; }
    int partialRepaints() const { return partialRepaints_; }
    // The rectangles, in widget pixels, that the last step asked to repaint.
    const std::vector<QRect>& lastRepaints() const { return lastRepaints_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateVolumeRepeat();

    PracticeStage& stage_;
    SceneKeyboard keyboard_;
    QTimer steps_;
    QTimer volumeRepeat_;
    StageFrame frame_;
    StageLook lastLook_;
    std::vector<QRect> lastRepaints_;
    int fullRepaints_ = 0;
    int partialRepaints_ = 0;
};

}  // namespace sumbrook
