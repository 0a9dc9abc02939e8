#include "week_report_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "parent/readable_fact.h"
#include "practice/core/exercise_catalogue.h"
#include "week_report.h"
#include "worksheet/ui/sheet_fonts.h"

namespace sumbrook {

namespace {

constexpr double kLeft = 150;
constexpr double kRight = WeekReportPainter::kPageWidth - 150;
constexpr double kWidth = kRight - kLeft;
constexpr double kTop = 150;
constexpr double kBottom = WeekReportPainter::kPageHeight - 190;  // above the footer
constexpr double kPad = 14;

constexpr double kRowHeight = 58;
constexpr double kMinRowHeight = 46;
constexpr double kHeadHeight = 64;
constexpr double kHeatNameWidth = 220;
constexpr double kHeatMaxCell = 150;
constexpr double kHeatRowHeight = 50;

const QColor kRule(0x40, 0x40, 0x40);
const QColor kFaint(0xB0, 0xB0, 0xB0);
const QColor kZebra(0xF1, 0xF1, 0xF1);
const QColor kGrey(0x55, 0x55, 0x55);

QFont fontOf(int size, bool bold = false) {
    QFont font = SheetFonts::cellFont(QStringLiteral("黑体"), size);
    font.setBold(bold);
    return font;
}

int percentOf(int right, int tried) {
    return tried > 0 ? static_cast<int>(std::lround(100.0 * right / tried)) : 0;
}

}  // namespace

WeekReportPainter::WeekReportPainter(const WeekReport& report) : report_(report) {}

QColor WeekReportPainter::shadeOf(int right, int tried) {
    if (tried <= 0) {
        return Qt::white;
    }
    // Light for all right, dark for none: what needs the teacher stands out, in grey too.
    const double share = std::clamp(static_cast<double>(right) / tried, 0.0, 1.0);
    return QColor::fromHslF(0.6, 0.45, 0.3 + 0.66 * share);
}

std::vector<int> WeekReportPainter::heatMapColumns(const WeekReport& report) {
    std::vector<int> out;
    const ClassHeatMap& map = report.heatMap();
    for (int e = 1; e <= ClassHeatMap::kExercises; ++e) {
        const bool tried = std::any_of(map.cells.begin(), map.cells.end(),
                                       [e](const auto& row) { return row[e - 1].tried > 0; });
        if (tried) {
            out.push_back(e);
        }
    }
    return out;
}

int WeekReportPainter::paint(QPainter& painter, QPagedPaintDevice& device) {
    painter_ = &painter;
    device_ = &device;
    page_ = 0;
    beginPage();
    paintTitle();
    paintPupils();
    nextPage();
    paintHeatMap();
    paintMostMissed();
    paintFooter();
    return page_;
}

void WeekReportPainter::beginPage() {
    ++page_;
    const double toDevice = device_->logicalDpiX() / 254.0;
    painter_->resetTransform();
    painter_->scale(toDevice, toDevice);
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    painter_->fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    y_ = kTop;
}

void WeekReportPainter::nextPage() {
    paintFooter();
    device_->newPage();
    beginPage();
}

void WeekReportPainter::keepRoom(double height) {
    if (y_ + height > kBottom) {
        nextPage();
    }
}

void WeekReportPainter::paintFooter() {
    const double line = kPageHeight - 150;
    painter_->setPen(QPen(kFaint, 3));
    painter_->drawLine(QPointF(kLeft, line), QPointF(kRight, line));
    const QRectF box(kLeft, line + 12, kWidth, 50);
    const QFont font = fontOf(26);
    write(box, WeekReport::title() + QStringLiteral("　") + WeekReport::spanText(report_.span()),
          font, Qt::AlignLeft | Qt::AlignTop, kGrey);
    write(box, QStringLiteral("第 %1 页").arg(page_), font, Qt::AlignRight | Qt::AlignTop, kGrey);
}

void WeekReportPainter::write(const QRectF& box, const QString& text, const QFont& font, int flags,
                              const QColor& colour) {
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, box.width());
    painter_->setFont(font);
    painter_->setPen(colour);
    painter_->drawText(box, flags, shown);
}

void WeekReportPainter::paintTitle() {
    write(QRectF(kLeft, y_, kWidth, 110), WeekReport::title(), fontOf(88, true),
          Qt::AlignHCenter | Qt::AlignVCenter);
    y_ += 115;
    write(QRectF(kLeft, y_, kWidth, 60), WeekReport::spanText(report_.span()), fontOf(42),
          Qt::AlignHCenter | Qt::AlignVCenter);
    y_ += 85;

    int practised = 0;
    for (const WeekReport::PupilRow& row : report_.rows()) {
        practised += row.report.isEmpty() ? 0 : 1;
    }
    const QString summary =
        QStringLiteral("全班 %1 人，练习了的 %2 人；共做 %3 题，正确率 %4，练习时间共 %5。")
            .arg(report_.rows().size())
            .arg(practised)
            .arg(report_.asked())
            .arg(ParentReport::percentText(report_.right(), report_.asked()))
            .arg(WeekReport::durationText(report_.practisedMs()));
    write(QRectF(kLeft, y_, kWidth, 56), summary, fontOf(34), Qt::AlignLeft | Qt::AlignVCenter);
    y_ += 80;
}

void WeekReportPainter::paintHeading(const QString& heading, const QString& note) {
    keepRoom(note.isEmpty() ? 90 : 140);
    write(QRectF(kLeft, y_, kWidth, 70), heading, fontOf(48, true),
          Qt::AlignLeft | Qt::AlignBottom);
    y_ += 78;
    if (!note.isEmpty()) {
        write(QRectF(kLeft, y_, kWidth, 44), note, fontOf(28), Qt::AlignLeft | Qt::AlignVCenter,
              kGrey);
        y_ += 54;
    }
}

void WeekReportPainter::paintTableHead(const std::vector<Column>& columns, double height) {
    double x = kLeft;
    const QFont font = fontOf(30, true);
    for (const Column& c : columns) {
        write(QRectF(x + kPad, y_, c.width - 2 * kPad, height), c.head, font,
              c.align | Qt::AlignVCenter);
        x += c.width;
    }
    painter_->setPen(QPen(kRule, 5));
    painter_->drawLine(QPointF(kLeft, y_), QPointF(x, y_));
    painter_->drawLine(QPointF(kLeft, y_ + height), QPointF(x, y_ + height));
    y_ += height;
}

void WeekReportPainter::paintRow(const std::vector<Column>& columns, const QStringList& cells,
                                 double height, bool shaded) {
    double width = 0;
    for (const Column& c : columns) {
        width += c.width;
    }
    if (shaded) {
        painter_->fillRect(QRectF(kLeft, y_, width, height), kZebra);
    }
    double x = kLeft;
    const QFont font = fontOf(30);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        write(QRectF(x + kPad, y_, columns[i].width - 2 * kPad, height), cells.value(int(i)), font,
              columns[i].align | Qt::AlignVCenter);
        x += columns[i].width;
    }
    painter_->setPen(QPen(kFaint, 2));
    painter_->drawLine(QPointF(kLeft, y_ + height), QPointF(kLeft + width, y_ + height));
    y_ += height;
}

void WeekReportPainter::paintPupils() {
    paintHeading(QStringLiteral("每人一行"),
                 QStringLiteral("新掌握：这段时间里变得又对又快的题；仍错的题：这段时间错过、"
                                "到最后还没掌握的题"));
    const int right = Qt::AlignRight;
    const int left = Qt::AlignLeft;
    const std::vector<Column> columns = {
        {QStringLiteral("学号"), 130, left},
        {QStringLiteral("姓名"), 230, left},
        {QStringLiteral("题数"), 140, right},
        {QStringLiteral("正确率"), 150, right},
        {QStringLiteral("练习时间"), 200, right},
        {QStringLiteral("新掌握"), 150, Qt::AlignHCenter},
        {QStringLiteral("仍错的题"), kWidth - 1000, left},
    };
    keepRoom(kHeadHeight + kRowHeight);
    paintTableHead(columns, kHeadHeight);
    // A class of up to about 45 keeps to one page, its rows a little closer together.
    const double fitting = (kBottom - y_) / std::max<std::size_t>(1, report_.rows().size());
    const double rowHeight = std::clamp(fitting, kMinRowHeight, kRowHeight);
    bool shaded = false;
    for (const WeekReport::PupilRow& row : report_.rows()) {
        if (y_ + rowHeight > kBottom) {
            nextPage();
            paintTableHead(columns, kHeadHeight);
            shaded = false;
        }
        QStringList cells{row.pupil.pupil.number, row.pupil.pupil.name};
        if (row.report.isEmpty()) {
            cells << QStringLiteral("0") << QStringLiteral("—") << QStringLiteral("—")
                  << QStringLiteral("—") << QStringLiteral("没有练习");
        } else {
            QStringList facts;
            for (const MissedFact& f : row.stillMissed) {
                if (facts.size() == WeekReport::kStillMissedShown) {
                    break;
                }
                facts << ReadableFact::question(f);
            }
            // The count first, so that a long list is cut short at its end and not its count.
            QString missed = facts.join(QStringLiteral("、"));
            if (row.report.mostMissed.size() >= ParentReport::kMissedShown) {
                // The pupil's window lists no more than these: there may be more.
                missed = QStringLiteral("%1 道以上：").arg(row.stillMissed.size()) + missed;
            } else if (row.stillMissed.size() > WeekReport::kStillMissedShown) {
                missed = QStringLiteral("%1 道：").arg(row.stillMissed.size()) + missed;
            }
            cells << QString::number(row.report.asked)
                  << ParentReport::percentText(row.report.right, row.report.asked)
                  << WeekReport::durationText(row.practisedMs) << QString::number(row.becameFluent)
                  << (missed.isEmpty() ? QStringLiteral("—") : missed);
        }
        paintRow(columns, cells, rowHeight, shaded);
        shaded = !shaded;
    }
    y_ += 40;
}

void WeekReportPainter::paintHeatMap() {
    const std::vector<int> exercises = heatMapColumns(report_);
    paintHeading(QStringLiteral("全班热图：每个练习的正确率"),
                 QStringLiteral("一行一位学生，一列一个练习；格中是正确率（%），颜色越深错得越多，"
                                "空格是没有练习"));
    const ClassHeatMap& map = report_.heatMap();
    if (exercises.empty() || map.pupils.empty()) {
        write(QRectF(kLeft, y_, kWidth, 60), QStringLiteral("这段时间全班没有练习。"), fontOf(32),
              Qt::AlignLeft | Qt::AlignVCenter);
        y_ += 100;
        return;
    }
    const double cell = std::min(kHeatMaxCell, (kWidth - kHeatNameWidth) / exercises.size());
    const double gridWidth = kHeatNameWidth + cell * exercises.size();
    const QFont numberFont = fontOf(static_cast<int>(std::clamp(cell * 0.42, 18.0, 28.0)));
    const QFont headFont = fontOf(static_cast<int>(std::clamp(cell * 0.5, 20.0, 30.0)), true);

    const auto head = [&] {
        double x = kLeft + kHeatNameWidth;
        for (int e : exercises) {
            write(QRectF(x, y_, cell, kHeatRowHeight), QString::number(e), headFont,
                  Qt::AlignCenter);
            x += cell;
        }
        y_ += kHeatRowHeight;
    };
    keepRoom(kHeatRowHeight * 2);
    head();
    const std::size_t rows = std::min(map.pupils.size(), map.cells.size());
    for (std::size_t r = 0; r < rows; ++r) {
        if (y_ + kHeatRowHeight > kBottom) {
            nextPage();
            head();
        }
        const ListedPupil& pupil = map.pupils[r];
        write(QRectF(kLeft, y_, kHeatNameWidth - kPad, kHeatRowHeight), pupil.pupil.name,
              fontOf(28), Qt::AlignLeft | Qt::AlignVCenter);
        double x = kLeft + kHeatNameWidth;
        for (int e : exercises) {
            const HeatCell& c = map.cells[r][static_cast<std::size_t>(e - 1)];
            const QRectF box(x, y_, cell, kHeatRowHeight);
            painter_->fillRect(box, shadeOf(c.right, c.tried));
            if (c.tried > 0) {
                const QColor ink =
                    shadeOf(c.right, c.tried).lightnessF() < 0.55 ? Qt::white : Qt::black;
                write(box, QString::number(percentOf(c.right, c.tried)), numberFont,
                      Qt::AlignCenter, ink);
            }
            x += cell;
        }
        painter_->setPen(QPen(Qt::white, 3));
        for (double line = kLeft + kHeatNameWidth; line <= kLeft + gridWidth + 0.5; line += cell) {
            painter_->drawLine(QPointF(line, y_), QPointF(line, y_ + kHeatRowHeight));
        }
        painter_->setPen(QPen(kFaint, 2));
        painter_->drawLine(QPointF(kLeft, y_ + kHeatRowHeight),
                           QPointF(kLeft + gridWidth, y_ + kHeatRowHeight));
        y_ += kHeatRowHeight;
    }
    y_ += 30;
    paintHeatLegend(exercises);
}

void WeekReportPainter::paintHeatLegend(const std::vector<int>& exercises) {
    // The shades against their accuracy, then what each column's number names.
    keepRoom(80);
    const QFont font = fontOf(26);
    double x = kLeft;
    for (int percent : {100, 90, 75, 50, 25, 0}) {
        const QRectF swatch(x, y_ + 8, 70, 40);
        painter_->fillRect(swatch, shadeOf(percent, 100));
        painter_->setPen(QPen(kFaint, 2));
        painter_->drawRect(swatch);
        write(QRectF(x + 80, y_, 120, 56), QStringLiteral("%1%").arg(percent), font,
              Qt::AlignLeft | Qt::AlignVCenter);
        x += 210;
    }
    y_ += 70;
    constexpr int kPerLine = 3;
    const double width = kWidth / kPerLine;
    for (std::size_t i = 0; i < exercises.size(); i += kPerLine) {
        keepRoom(44);
        for (std::size_t j = i; j < std::min(exercises.size(), i + kPerLine); ++j) {
            const int e = exercises[j];
            write(QRectF(kLeft + width * (j - i), y_, width - kPad, 44),
                  QStringLiteral("%1  %2").arg(e).arg(ExerciseCatalogue::title(e)), font,
                  Qt::AlignLeft | Qt::AlignVCenter, kGrey);
        }
        y_ += 44;
    }
    y_ += 40;
}

void WeekReportPainter::paintMostMissed() {
    keepRoom(90 + 54 + kHeadHeight + 3 * kRowHeight);
    paintHeading(QStringLiteral("全班最常错的题"), QString());
    if (report_.mostMissed().isEmpty()) {
        write(QRectF(kLeft, y_, kWidth, 60), QStringLiteral("这段时间全班没有做错的题。"),
              fontOf(32), Qt::AlignLeft | Qt::AlignVCenter);
        y_ += 80;
        return;
    }
    const int right = Qt::AlignRight;
    const int left = Qt::AlignLeft;
    const std::vector<Column> columns = {
        {QStringLiteral("题目"), 520, left},
        {QStringLiteral("答案"), 260, left},
        {QStringLiteral("错过的人数"), 260, right},
        {QStringLiteral("错 / 做（次）"), 300, right},
        {QStringLiteral("练习"), kWidth - 1340, left},
    };
    paintTableHead(columns, kHeadHeight);
    bool shaded = false;
    for (const ClassMissedFact& m : report_.mostMissed()) {
        if (y_ + kRowHeight > kBottom) {
            nextPage();
            paintTableHead(columns, kHeadHeight);
        }
        const int e = m.fact.exercise;
        paintRow(columns,
                 {ReadableFact::question(m.fact), ReadableFact::answer(m.fact),
                  QStringLiteral("%1 人").arg(m.pupils),
                  QStringLiteral("%1 / %2").arg(m.fact.missed).arg(m.fact.asked),
                  ExerciseCatalogue::contains(e) ? ExerciseCatalogue::title(e) : QString()},
                 kRowHeight, shaded);
        shaded = !shaded;
    }
}

}  // namespace sumbrook
