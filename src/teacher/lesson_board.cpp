#include "lesson_board.h"

#include <QGridLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "pupil_tile.h"

namespace sumbrook {

namespace {

constexpr int kSpacing = 8;
constexpr int kTallest = 150;  // a small class's tiles grow no taller

struct Arrangement {
    int columns = 1;
    int tileHeight = PupilTile::kMinimumSize.height();
};

// The columns that show every tile at once and largest, in `area`; when none can, as
// many columns as the width holds, the rest scrolled to.
Arrangement arrangementFor(int tiles, QSize area) {
    const QSize least = PupilTile::kMinimumSize;
    Arrangement best{std::max(1, (area.width() + kSpacing) / (least.width() + kSpacing)),
                     least.height()};
    double bestScale = 0;
    for (int columns = 1; columns <= std::max(1, tiles); ++columns) {
        const int rows = (tiles + columns - 1) / columns;
        const int width = (area.width() - (columns - 1) * kSpacing) / columns;
        const int height = (area.height() - (rows - 1) * kSpacing) / std::max(1, rows);
        const double scale = std::min(static_cast<double>(width) / least.width(),
                                      static_cast<double>(height) / least.height());
        if (width >= least.width() && height >= least.height() && scale > bestScale) {
            bestScale = scale;
            best = {columns, std::min(height, kTallest)};
        }
    }
    return best;
}

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
    scroll_ = new QScrollArea(this);
    auto* scroll = scroll_;
    scroll->setObjectName(QStringLiteral("滚动_此刻"));
    scroll->setWidget(grid_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    scroll->installEventFilter(this);

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

bool LessonBoard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::Resize) {
        arrange();
    }
    return QWidget::eventFilter(watched, event);
}

void LessonBoard::arrange() {
    const QSize area = scroll_->maximumViewportSize() - QSize(2, 2);
    const Arrangement a = arrangementFor(static_cast<int>(tiles_.size()), area);
    for (PupilTile* tile : tiles_) {
        gridLayout_->removeWidget(tile);
        tile->setFixedHeight(a.tileHeight);
    }
    for (int i = 0; i < tiles_.size(); ++i) {
        gridLayout_->addWidget(tiles_[i], i / a.columns, i % a.columns);
        tiles_[i]->setVisible(true);
    }
    for (int c = 0; c < gridLayout_->columnCount(); ++c) {
        gridLayout_->setColumnStretch(c, c < a.columns ? 1 : 0);
    }
    columns_ = a.columns;
}

}  // namespace sumbrook
