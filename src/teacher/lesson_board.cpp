#include "lesson_board.h"

#include <QGridLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "pupil_tile.h"

namespace sumbrook {

namespace {

constexpr int kTileWidth = 232;  // the narrowest a tile reads well at
constexpr int kSpacing = 10;

}  // namespace

LessonBoard::LessonBoard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("此刻"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("标签_此刻概况"));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(13);
    summary_->setFont(font);
    summary_->setStyleSheet(QStringLiteral("color: #2b3a4a;"));
    summary_->setText(QStringLiteral("正在读取全班的情况……"));

    grid_ = new QWidget;
    gridLayout_ = new QGridLayout(grid_);
    gridLayout_->setContentsMargins(0, 0, 0, 0);
    gridLayout_->setSpacing(kSpacing);
    gridLayout_->setAlignment(Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("滚动_此刻"));
    scroll->setWidget(grid_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->setSpacing(10);
    layout->addWidget(summary_);
    layout->addWidget(scroll, 1);
}

void LessonBoard::setPupils(const QVector<PupilNow>& pupils, const QDateTime& now) {
    const bool countChanged = pupils.size() != tiles_.size();
    while (tiles_.size() > pupils.size()) {
        delete tiles_.takeLast();
    }
    while (tiles_.size() < pupils.size()) {
        auto* tile = new PupilTile(grid_);
        tiles_.append(tile);
    }
    int practising = 0;
    int help = 0;
    for (int i = 0; i < pupils.size(); ++i) {
        tiles_[i]->setNow(pupils[i], now);
        tiles_[i]->setObjectName(QStringLiteral("格子_") + pupils[i].pupil.pupil.number);
        practising += pupils[i].practising ? 1 : 0;
        help += tiles_[i]->marked() ? 1 : 0;
    }
    summary_->setText(
        pupils.isEmpty()
            ? QStringLiteral("班级名单上还没有学生。在“班级名单”里添加或导入。")
            : QStringLiteral("%1 名学生，%2 人正在练习%3")
                  .arg(pupils.size())
                  .arg(practising)
                  .arg(help > 0 ? QStringLiteral("，%1 人可能需要帮助").arg(help) : QString()));
    if (countChanged) {
        columns_ = 0;  // laid out anew
        arrange();
    }
}

PupilTile* LessonBoard::tileOf(const QString& number) const {
    for (PupilTile* tile : tiles_) {
        if (tile->pupil().pupil.pupil.number == number) {
            return tile;
        }
    }
    return nullptr;
}

QString LessonBoard::summaryText() const {
    return summary_->text();
}

void LessonBoard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void LessonBoard::arrange() {
    const int width = std::max(kTileWidth, this->width() - 8);
    const int columns = std::max(1, (width + kSpacing) / (kTileWidth + kSpacing));
    if (columns == columns_) {
        return;
    }
    columns_ = columns;
    for (PupilTile* tile : tiles_) {
        gridLayout_->removeWidget(tile);
    }
    for (int i = 0; i < tiles_.size(); ++i) {
        gridLayout_->addWidget(tiles_[i], i / columns, i % columns);
        tiles_[i]->setVisible(true);
    }
    for (int c = 0; c < gridLayout_->columnCount(); ++c) {
        gridLayout_->setColumnStretch(c, c < columns ? 1 : 0);
    }
}

}  // namespace sumbrook
