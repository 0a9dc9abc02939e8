#include "pupil_tile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

namespace {

QFont tileFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* line(QWidget* parent, const QString& name, int pointSize, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(tileFont(pointSize, bold));
    return label;
}

// Calm for a pupil at work, grey for one not practising, warm for one who may need help.
const char* const kCalm =
    "PupilTile { background: #ffffff; border: 1px solid #cfd8e3;"
    " border-radius: 8px; }";
const char* const kIdle =
    "PupilTile { background: #f3f5f7; border: 1px solid #dde2e8;"
    " border-radius: 8px; }";
const char* const kWarm =
    "PupilTile { background: #fff3e3; border: 3px solid #e08a1e;"
    " border-radius: 8px; }";

}  // namespace

PupilTile::PupilTile(QWidget* parent) : QFrame(parent) {
    setMinimumSize(220, 128);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    name_ = line(this, QStringLiteral("标签_姓名"), 16, true);
    number_ = line(this, QStringLiteral("标签_学号"), 10);
    number_->setStyleSheet(QStringLiteral("color: #6b7785;"));
    state_ = line(this, QStringLiteral("标签_状态"), 11);
    exercise_ = line(this, QStringLiteral("标签_练习"), 11);
    answers_ = line(this, QStringLiteral("标签_成绩"), 12, true);
    mark_ = line(this, QStringLiteral("标签_提醒"), 12, true);
    mark_->setStyleSheet(QStringLiteral("color: #a04a00;"));
    mark_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* top = new QHBoxLayout;
    top->addWidget(name_);
    top->addWidget(number_, 0, Qt::AlignBottom);
    top->addStretch(1);
    top->addWidget(mark_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(state_);
    layout->addWidget(exercise_);
    layout->addWidget(answers_);
}

QString PupilTile::markWord(const PupilNow& pupil, const QDateTime& now) {
    if (!pupil.needsHelp) {
        return {};
    }
    if (!pupil.practising && pupil.lastAnswer.isValid()) {
        const qint64 minutes = std::max<qint64>(1, pupil.lastAnswer.secsTo(now) / 60);
        return QStringLiteral("%1分钟没答题").arg(minutes);
    }
    return QStringLiteral("需要帮助");
}

void PupilTile::setNow(const PupilNow& pupil, const QDateTime& now) {
    pupil_ = pupil;
    name_->setText(pupil.pupil.pupil.name);
    number_->setText(pupil.pupil.pupil.number);
    state_->setText(pupil.practising ? QStringLiteral("● 正在练习") : QStringLiteral("○ 没在练习"));
    state_->setStyleSheet(pupil.practising ? QStringLiteral("color: #1d7a46;")
                                           : QStringLiteral("color: #7a8591;"));
    exercise_->setText(ExerciseCatalogue::contains(pupil.exercise)
                           ? QStringLiteral("%1 %2")
                                 .arg(pupil.exercise)
                                 .arg(ExerciseCatalogue::title(pupil.exercise))
                           : QStringLiteral("这节课还没有做题"));
    answers_->setText(pupil.asked > 0 ? QStringLiteral("%1 题，正确率 %2%")
                                            .arg(pupil.asked)
                                            .arg(qRound(100.0 * pupil.right / pupil.asked))
                                      : QString());
    const QString word = markWord(pupil, now);
    mark_->setText(word);
    const bool wasMarked = marked_;
    marked_ = !word.isEmpty();
    // A style sheet set anew polishes the whole tile; once a second for 40 tiles it is
    // set only when the look changes.
    if (!styled_ || wasMarked != marked_ || property("practising").toBool() != pupil.practising) {
        setProperty("practising", pupil.practising);
        setStyleSheet(QString::fromLatin1(marked_ ? kWarm : pupil.practising ? kCalm : kIdle));
        styled_ = true;
    }
}

QString PupilTile::nameText() const {
    return name_->text();
}
QString PupilTile::stateText() const {
    return state_->text();
}
QString PupilTile::exerciseText() const {
    return exercise_->text();
}
QString PupilTile::answersText() const {
    return answers_->text();
}
QString PupilTile::markText() const {
    return mark_->text();
}

}  // namespace sumbrook
