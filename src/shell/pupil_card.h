#pragma once

#include <QAbstractButton>

#include "classroom/class_pupil.h"

namespace sumbrook {

// One pupil on the picker: a large card with the number small and the name large, drawn
// to whatever size the picker gives it. It knows no keys but the click; the picker moves
// between cards.
class PupilCard : public QAbstractButton {
    Q_OBJECT

  public:
    PupilCard(ClassPupil pupil, QWidget* parent);

    const ClassPupil& pupil() const { return pupil_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    ClassPupil pupil_;
    bool hovered_ = false;
};

}  // namespace sumbrook
