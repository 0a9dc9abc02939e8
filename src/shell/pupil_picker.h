#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QSize>
#include <optional>
#include <vector>

#include "classroom/class_pupil.h"

class QLabel;
class QScrollArea;

namespace sumbrook {

class PupilCard;

// "你是谁？": the window in which a pupil at a class computer picks their own name from
// the class's cards, by a click, by the arrow keys and Enter, or by typing their number.
// It only says who was chosen; seating the pupil is the caller's.
class PupilPicker : public QDialog {
    Q_OBJECT

  public:
    // The cards keep a child's finger and eye in mind; below this they scroll instead.
    static constexpr QSize kSmallestCard{112, 60};
    static constexpr int kGap = 12;

    // `reason` is said in place of the cards when there are none; an empty reason says the
    // list is still being read.
    PupilPicker(std::vector<ClassPupil> pupils, const QString& reason, QWidget* parent = nullptr);
    // The list as the server gave it, once it arrives: the cards follow it, the card a child
    // is on keeps the focus.
    void setPupils(std::vector<ClassPupil> pupils, const QString& reason);

    std::optional<ClassPupil> choice() const { return choice_; }
    std::vector<PupilCard*> cards() const { return cards_; }

    struct Shape {
        int columns = 1;
        QSize card;
        bool scrolls = false;
    };
    // How `count` cards are laid out in `area`: the column count that gives the largest
    // cards, or, where even the smallest would not fit, as many columns of them as fit.
    static Shape shapeFor(int count, QSize area);

  signals:
    void chosen(const sumbrook::ClassPupil& pupil);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void choose(const ClassPupil& pupil);
    void layOutCards();
    void moveFocus(int by);
    void typeDigit(QChar digit);
    int focusedIndex() const;

    std::vector<PupilCard*> cards_;
    QLabel* hint_ = nullptr;
    QWidget* whyBox_ = nullptr;
    QLabel* why_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* grid_ = nullptr;
    int columns_ = 1;
    QString typed_;
    QElapsedTimer sinceTyped_;
    std::optional<ClassPupil> choice_;
};

}  // namespace sumbrook
