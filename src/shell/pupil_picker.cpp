#include "pupil_picker.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "pupil_card.h"

namespace sumbrook {

namespace {

// Bigger cards than these only spread the names apart.
constexpr int kLargestCardHeight = 128;
constexpr int kLargestCardWidth = 256;
// Digits typed within this time make one number.
constexpr qint64 kTypingPauseMs = 1500;

const QColor kSkyTop(0x8F, 0xD3, 0xFF);
const QColor kSkyBottom(0xE9, 0xF7, 0xFF);
const QColor kSun(0xFF, 0xD5, 0x4A);
const QColor kSunEdge(0xF2, 0xA9, 0x00);
const QColor kGrass(0x7B, 0xC9, 0x6F);
const QColor kGrassEdge(0x4F, 0xA3, 0x5A);

QString withoutLeadingZeros(const QString& number) {
    qsizetype at = 0;
    while (at + 1 < number.size() && number[at] == u'0') {
        ++at;
    }
    return number.mid(at);
}

QLabel* textLabel(const QString& text, int pixels, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("AR PL UKai CN"));
    font.setPixelSize(pixels);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #263238; background: transparent;"));
    return label;
}

}  // namespace

PupilPicker::Shape PupilPicker::shapeFor(int count, QSize area) {
    Shape best;
    if (count <= 0) {
        return best;
    }
    double bestScore = -1;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int cellWidth = (area.width() - (columns - 1) * kGap) / columns;
        const int cellHeight = (area.height() - (rows - 1) * kGap) / rows;
        if (cellWidth < kSmallestCard.width() || cellHeight < kSmallestCard.height()) {
            continue;
        }
        // Cards neither taller than wide nor more than twice as wide as tall.
        const int height =
            std::min({cellHeight, kLargestCardHeight, static_cast<int>(cellWidth / 1.3)});
        const int width = std::min({cellWidth, kLargestCardWidth, height * 2});
        // A name of three characters grows with the card's height until its width stops it.
        const double score = std::min<double>(height, width / 1.6);
        if (score > bestScore) {
            bestScore = score;
            best = {columns, QSize(width, height), false};
        }
    }
    if (bestScore >= 0) {
        return best;
    }
    const int columns =
        std::clamp((area.width() + kGap) / (kSmallestCard.width() + kGap), 1, count);
    const int width = std::clamp((area.width() - (columns - 1) * kGap) / columns,
                                 kSmallestCard.width(), kLargestCardWidth);
    const int height =
        std::clamp(static_cast<int>(width / 1.6), kSmallestCard.height(), kLargestCardHeight);
    return {columns, QSize(width, height), true};
}

PupilPicker::PupilPicker(std::vector<ClassPupil> pupils, const QString& reason, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("你是谁？"));
    setObjectName(QStringLiteral("你是谁"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 32);
    layout->setSpacing(8);
    layout->addWidget(textLabel(QStringLiteral("你是谁？"), 44, this));

    hint_ = textLabel(QStringLiteral("找到自己的名字，点一下。"), 24, this);
    layout->addWidget(hint_);
    whyBox_ = new QWidget(this);
    auto* whyLayout = new QVBoxLayout(whyBox_);
    whyLayout->setContentsMargins(0, 0, 0, 0);
    why_ = textLabel(QString(), 26, whyBox_);
    why_->setObjectName(QStringLiteral("原因"));
    why_->setWordWrap(true);
    why_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    why_->setStyleSheet(
        QStringLiteral("color: #263238; background: white;"
                       " border: 2px solid #B3E5FC; border-radius: 24px;"
                       " padding: 24px;"));
    whyLayout->addStretch(1);
    whyLayout->addWidget(why_);
    whyLayout->addStretch(2);
    layout->addWidget(whyBox_, 1);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(false);
    grid_ = new QWidget;
    scroll_->setWidget(grid_);
    // The sky shows through.
    scroll_->viewport()->setAutoFillBackground(false);
    grid_->setAutoFillBackground(false);
    scroll_->viewport()->installEventFilter(this);
    layout->addWidget(scroll_, 1);
    setPupils(std::move(pupils), reason);

    // As large as a class needs, never larger than the work area with a frame around it.
    const QRect work = screen()->availableGeometry();
    resize(QSize(1200, 860).boundedTo(work.size() - QSize(16, 48)));
    move(work.center() - rect().center());
}

void PupilPicker::setPupils(std::vector<ClassPupil> pupils, const QString& reason) {
    const bool same = pupils.size() == cards_.size() &&
                      std::equal(pupils.begin(), pupils.end(), cards_.begin(),
                                 [](const ClassPupil& p, PupilCard* c) { return p == c->pupil(); });
    if (same && !cards_.empty()) {
        return;  // a child already looking for their name keeps their place
    }
    const QString focused =
        focusedIndex() >= 0 ? cards_[focusedIndex()]->pupil().number : QString();
    for (PupilCard* card : cards_) {
        delete card;
    }
    cards_.clear();
    for (ClassPupil& pupil : pupils) {
        auto* card = new PupilCard(std::move(pupil), grid_);
        card->installEventFilter(this);
        connect(card, &QAbstractButton::clicked, this, [this, card] { choose(card->pupil()); });
        card->show();
        cards_.push_back(card);
    }
    const bool none = cards_.empty();
    why_->setText(reason.isEmpty() ? QStringLiteral("正在读取班级名单……")
                                   : QStringLiteral("没有读到班级名单：") + reason);
    whyBox_->setVisible(none);
    hint_->setVisible(!none);
    scroll_->setVisible(!none);
    layOutCards();
    if (isVisible() && !none) {
        const auto again = std::find_if(cards_.begin(), cards_.end(), [&](PupilCard* card) {
            return card->pupil().number == focused;
        });
        (again != cards_.end() ? *again : cards_.front())->setFocus(Qt::OtherFocusReason);
    }
}

void PupilPicker::choose(const ClassPupil& pupil) {
    choice_ = pupil;
    emit chosen(pupil);
    accept();
}

void PupilPicker::layOutCards() {
    if (cards_.empty()) {
        return;
    }
    const QSize area = scroll_->viewport()->size();
    Shape shape = shapeFor(static_cast<int>(cards_.size()), area);
    if (shape.scrolls) {
        // Room for the scroll bar that is about to show.
        shape = shapeFor(static_cast<int>(cards_.size()),
                         area - QSize(scroll_->verticalScrollBar()->sizeHint().width(), 0));
        shape.scrolls = true;
    }
    columns_ = shape.columns;
    const int count = static_cast<int>(cards_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int width = columns_ * shape.card.width() + (columns_ - 1) * kGap;
    const int height = rows * shape.card.height() + (rows - 1) * kGap;
    scroll_->setVerticalScrollBarPolicy(shape.scrolls ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    const QSize room = scroll_->viewport()->size();
    grid_->resize(room.width(), std::max(room.height(), height));
    const int left = (room.width() - width) / 2;
    const int top = std::max(0, (room.height() - height) / 2);
    for (int i = 0; i < count; ++i) {
        const int column = i % columns_;
        const int row = i / columns_;
        cards_[i]->setGeometry(left + column * (shape.card.width() + kGap),
                               top + row * (shape.card.height() + kGap), shape.card.width(),
                               shape.card.height());
    }
}

int PupilPicker::focusedIndex() const {
    const auto at = std::find(cards_.begin(), cards_.end(), focusWidget());
    return at == cards_.end() ? -1 : static_cast<int>(at - cards_.begin());
}

void PupilPicker::moveFocus(int by) {
    if (cards_.empty()) {
        return;
    }
    const int from = focusedIndex();
    const int to = from < 0 ? 0 : std::clamp(from + by, 0, static_cast<int>(cards_.size()) - 1);
    cards_[to]->setFocus(Qt::OtherFocusReason);
    scroll_->ensureWidgetVisible(cards_[to], 0, kGap);
}

void PupilPicker::typeDigit(QChar digit) {
    if (!sinceTyped_.isValid() || sinceTyped_.elapsed() > kTypingPauseMs) {
        typed_.clear();
    }
    sinceTyped_.start();
    typed_ += digit;
    // The number as typed, else the first that begins so; a digit that fits none starts a
    // number of its own.
    for (const QString& wanted : {typed_, QString(digit)}) {
        const QString value = withoutLeadingZeros(wanted);
        auto found = std::find_if(cards_.begin(), cards_.end(), [&](PupilCard* card) {
            return withoutLeadingZeros(card->pupil().number) == value;
        });
        if (found == cards_.end()) {
            found = std::find_if(cards_.begin(), cards_.end(), [&](PupilCard* card) {
                return card->pupil().number.startsWith(wanted);
            });
        }
        if (found != cards_.end()) {
            typed_ = wanted;
            moveFocus(static_cast<int>(found - cards_.begin()) - std::max(0, focusedIndex()));
            return;
        }
    }
}

bool PupilPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        layOutCards();
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* card = qobject_cast<PupilCard*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (card == nullptr || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return QDialog::eventFilter(watched, event);
    }
    switch (key->key()) {
        case Qt::Key_Left:
            moveFocus(-1);
            return true;
        case Qt::Key_Right:
            moveFocus(1);
            return true;
        case Qt::Key_Up:
            moveFocus(-columns_);
            return true;
        case Qt::Key_Down:
            moveFocus(columns_);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            choose(card->pupil());
            return true;
        case Qt::Key_Escape:
            // A child's stray Esc must not end the program; the close box does.
            return true;
        default:
            break;
    }
    if (key->text().size() == 1 && key->text()[0] >= u'0' && key->text()[0] <= u'9') {
        typeDigit(key->text()[0]);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PupilPicker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    layOutCards();
    if (!cards_.empty() && focusedIndex() < 0) {
        cards_.front()->setFocus(Qt::OtherFocusReason);
    }
}

void PupilPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyBottom);
    painter.fillRect(rect(), sky);
    // A sun peeping in at the top right corner and a strip of grass along the bottom.
    painter.setPen(QPen(kSunEdge, 3));
    painter.setBrush(kSun);
    painter.drawEllipse(QPointF(width() - 40, 28), 64, 64);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGrassEdge);
    painter.drawRect(0, height() - 20, width(), 20);
    painter.setBrush(kGrass);
    painter.drawRect(0, height() - 16, width(), 16);
}

}  // namespace sumbrook
