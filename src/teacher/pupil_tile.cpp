#include "pupil_tile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "parent/window_font.h"
#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

namespace {

QLabel* line(QWidget* parent, const QString& name, int pointSize, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(windowFont(pointSize, bold));
    return label;
}

// Calm for a pupil at work, grey for one not practising, warm for one who may need help.
// The selector names the class as Qt's style sheets spell a namespaced one.
const char* const kCalm =
    "sumbrook--PupilTile { background: #ffffff; border: 1px solid #c5d0dc;"
    " border-radius: 8px; }";
const char* const kIdle =
    "sumbrook--PupilTile { background: #eef1f4; border: 1px solid #dde2e8;"
    " border-radius: 8px; }";
const char* const kWarm =
    "sumbrook--PupilTile { background: #fff0dc; border: 3px solid #e08a1e;"
    " border-radius: 8px; }";

}  // namespace

PupilTile::PupilTile(QWidget* parent) : QFrame(parent) {
    setMinimumSize(kMinimumSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    name_ = line(this, QStringLiteral("标签_姓名"), 15, true);
    name_->setStyleSheet(QStringLiteral("color: #1f2d3d;"));
    number_ = line(this, QStringLiteral("标签_学号"), 9);
    number_->setStyleSheet(QStringLiteral("color: #6b7785;"));
    mark_ = line(this, QStringLiteral("标签_提醒"), 11, true);
    mark_->setStyleSheet(QStringLiteral("color: #a04a00;"));
    mark_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    exercise_ = line(this, QStringLiteral("标签_练习"), 11);
    exercise_->setStyleSheet(QStringLiteral("color: #2b3a4a;"));
    state_ = line(this, QStringLiteral("标签_状态"), 10);
    answers_ = line(this, QStringLiteral("标签_成绩"), 11, true);
    answers_->setStyleSheet(QStringLiteral("color: #1f2d3d;"));
    answers_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    number_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* top = new QHBoxLayout;
    top->addWidget(name_);
    top->addStretch(1);
    top->addWidget(mark_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(exercise_, 1);
    middle->addWidget(number_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(state_);
    bottom->addStretch(1);
    bottom->addWidget(answers_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(bottom);
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
    state_->setText(pupil.practising ? QStringLiteral("● 在练习") : QStringLiteral("○ 没在练习"));
    state_->setStyleSheet(pupil.practising ? QStringLiteral("color: #1d7a46;")
                                           : QStringLiteral("color: #7a8591;"));
    // The title alone: its number beside it would run into it ("3 5以内加减法").
    const bool known = ExerciseCatalogue::contains(pupil.exercise);
    exercise_->setText(known ? ExerciseCatalogue::title(pupil.exercise)
                             : QStringLiteral("这节课还没有做题"));
    exercise_->setToolTip(known ? QStringLiteral("第 %1 项练习").arg(pupil.exercise) : QString());
    answers_->setText(pupil.asked > 0 ? QStringLiteral("%1题 正确率%2%")
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
