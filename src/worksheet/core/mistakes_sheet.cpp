#include "mistakes_sheet.h"

#include <QLoggingCategory>
#include <QSet>

#include "exercise_fact_rules.h"
#include "fill_worksheet.h"
#include "sheet_template.h"

Q_LOGGING_CATEGORY(lcMistakesSheet, "sumbrook.worksheet.mistakes")

namespace sumbrook {

namespace {

// How far from a missed fact a top-up fact may stand: a neighbour, or a neighbour's.
constexpr int kTopUpRings = 2;
constexpr int kFirstSumRow = 5;
constexpr int kSumRows = 15;
// The clock sheet's blanks for the time, in the same words.
const QString kClockBlanks = QStringLiteral("___时___分\r\n\r\n____:____");
constexpr int kClockBlanksSize = 42;
constexpr int kRightAligned = 6;

// A clock face standing at the left of a cell whose text stands at the right: the face
// with room beside it, so that the painter, fitting a drawing into its cell, leaves the
// face its height and the blanks their side.
class FaceAtLeft final : public CellDrawing {
  public:
    FaceAtLeft(std::shared_ptr<const CellDrawing> face, double cellAspect)
        : face_(std::move(face)), aspect_(cellAspect) {}
    QSizeF size() const override {
        const QSizeF face = face_->size();
        return {face.height() * aspect_, face.height()};
    }
    void paint(QPainter& painter) const override { face_->paint(painter); }
    bool sameAs(const CellDrawing& other) const override {
        const auto* o = dynamic_cast<const FaceAtLeft*>(&other);
        return o && o->aspect_ == aspect_ && face_->sameAs(*o->face_);
    }

  private:
    std::shared_ptr<const CellDrawing> face_;
    double aspect_;
};

// The template with its last question rows given to `clockRows` rows of clock faces, each
// as tall as kSumRowsPerClockRow rows of sums, so that the page keeps its height.
Sheet withClockRows(const Sheet& page, int clockRows) {
    const int taken = clockRows * MistakesSheet::kSumRowsPerClockRow;
    const int lastSumRow = kFirstSumRow + kSumRows - 1 - taken;
    Sheet out(page.rows() - taken + clockRows, page.columns());
    out.margins = page.margins;
    out.scale = page.scale;
    out.paper = page.paper;
    out.orientation = page.orientation;
    for (int c = 1; c <= page.columns(); ++c) {
        out.setColumnWidth(c, page.columnWidth(c));
    }
    const auto copyRow = [&](int from, int to) {
        out.setRowHeight(to, page.rowHeight(from));
        for (int c = 1; c <= page.columns(); ++c) {
            out.cell(to, c) = page.cell(from, c);
        }
    };
    for (int r = 1; r <= lastSumRow; ++r) {
        copyRow(r, r);
    }
    for (int k = 1; k <= clockRows; ++k) {
        copyRow(kFirstSumRow, lastSumRow + k);
        out.setRowHeight(lastSumRow + k,
                         page.rowHeight(kFirstSumRow) * MistakesSheet::kSumRowsPerClockRow);
    }
    for (int r = kFirstSumRow + kSumRows; r <= page.rows(); ++r) {
        copyRow(r, r - taken + clockRows);
    }
    return out;
}

// Columns a text takes on the name line: two for ideographs, one otherwise.
int widthOf(const QString& text) {
    int width = 0;
    for (const QChar c : text) {
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    }
    return width;
}

void writeName(SheetCell& cell, const QString& name) {
    const QString label = QStringLiteral("姓名:");
    const qsizetype at = cell.text.indexOf(label);
    if (name.isEmpty() || at < 0) {
        return;
    }
    qsizetype spacesEnd = at + label.size();
    while (spacesEnd < cell.text.size() && cell.text[spacesEnd] == u' ') {
        ++spacesEnd;
    }
    const int spaces = static_cast<int>(spacesEnd - at - label.size());
    const QString written = u' ' + name + u' ';
    const int keep = std::max(1, spaces - widthOf(written));
    cell.text = cell.text.left(at + label.size()) + written + QString(keep, u' ') +
                cell.text.mid(spacesEnd);
}

}  // namespace

MistakesSheet MistakesSheet::build(const QVector<MissedFact>& facts, int capacity) {
    MistakesSheet out;
    const auto full = [&] { return static_cast<int>(out.items_.size()) >= capacity; };
    QSet<QString> onSheet;
    auto add = [&](int exercise, const ArithmeticFact& fact, bool missed) {
        const QString text = fact.sheetText();
        if (full() || onSheet.contains(text)) {
            return false;
        }
        onSheet.insert(text);
        out.items_.push_back({exercise, fact, missed});
        return true;
    };

    // The clock faces first: the rows they take are the sums' room.
    constexpr auto kMaxClocks = static_cast<std::size_t>(2 * kMaxClockRows);
    for (const MissedFact& missed : facts) {
        if (!missed.fact || missed.fact->kind != FactKind::Clock) {
            continue;
        }
        const ClockItem clock{missed.fact->hour, missed.fact->minute};
        if (clock.hour < 1 || clock.hour > 12 || clock.minute < 0 || clock.minute > 59) {
            ++out.unreadable_;
        } else if (out.clocks_.size() < kMaxClocks) {
            out.clocks_.push_back(clock);
        } else {
            ++out.clockLeftOut_;
        }
    }
    const int clockRows = static_cast<int>((out.clocks_.size() + 1) / 2);
    capacity = std::max(0, capacity - 2 * kSumRowsPerClockRow * clockRows);

    for (const MissedFact& missed : facts) {
        if (missed.fact && missed.fact->kind == FactKind::Clock) {
            continue;
        }
        if (missed.fact && missed.fact->kind == FactKind::Money) {
            ++out.moneyLeftOut_;
            continue;
        }
        const std::optional<ArithmeticFact> fact =
            missed.fact ? ArithmeticFact::of(*missed.fact) : std::nullopt;
        if (!fact) {
            ++out.unreadable_;
            continue;
        }
        add(missed.exercise, *fact, true);
    }
    if (out.unreadable_ > 0) {
        qCInfo(lcMistakesSheet) << out.unreadable_
                                << "missed questions are not facts the sheet can print; left out";
    }

    // Top up ring by ring around the missed facts, taking each fact's nearest neighbour in
    // turn, so that the most missed facts get theirs first.
    std::vector<Item> ring = out.items_;
    for (int r = 0; r < kTopUpRings && !full() && !ring.empty(); ++r) {
        std::vector<std::vector<ArithmeticFact>> near;
        std::size_t longest = 0;
        for (const Item& item : ring) {
            near.push_back(ExerciseFactRules::neighbours(item.exercise, item.fact));
            longest = std::max(longest, near.back().size());
        }
        std::vector<Item> next;
        for (std::size_t k = 0; k < longest && !full(); ++k) {
            for (std::size_t i = 0; i < ring.size() && !full(); ++i) {
                if (k < near[i].size() && add(ring[i].exercise, near[i][k], false)) {
                    next.push_back(out.items_.back());
                }
            }
        }
        ring = std::move(next);
    }
    return out;
}

int MistakesSheet::missedCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.missed; }));
}

QString MistakesSheet::leftOutNote() const {
    QStringList parts;
    if (clockLeftOut_ > 0) {
        parts << QStringLiteral("认识时间的错题 %1 道").arg(clockLeftOut_);
    }
    if (moneyLeftOut_ > 0) {
        parts << QStringLiteral("认识人民币的错题 %1 道").arg(moneyLeftOut_);
    }
    if (unreadable_ > 0) {
        parts << QStringLiteral("无法印成算式的错题 %1 道").arg(unreadable_);
    }
    if (parts.isEmpty()) {
        return {};
    }
    return parts.join(QStringLiteral("、")) + QStringLiteral("没有印在卷上，请在练习中再做。");
}

QString MistakesSheet::clockText(const ClockItem& clock) {
    return QStringLiteral("钟面 %1:%2").arg(clock.hour).arg(clock.minute, 2, 10, QChar(u'0'));
}

Sheet MistakesSheet::fill(const QString& childName, const ClockFaceRenderer& faces,
                          bool withAnswers) const {
    const int clockRows = static_cast<int>((clocks_.size() + 1) / 2);
    Sheet sheet = withClockRows(SheetTemplate::load(SheetKind::Arithmetic), clockRows);
    sheet.cell(1, 1).text = withAnswers ? title() + QStringLiteral("（答案）") : title();
    writeName(sheet.cell(2, 1), childName);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SheetPlace place = questionPlace(0, static_cast<int>(i) + 1);
        const ArithmeticFact& fact = items_[i].fact;
        sheet.cell(place.row, place.column).text = withAnswers ? fact.keyText() : fact.sheetText();
    }
    const int firstClockRow = kFirstSumRow + kSumRows - clockRows * kSumRowsPerClockRow;
    for (std::size_t i = 0; i < clocks_.size(); ++i) {
        const int row = firstClockRow + static_cast<int>(i) / 2;
        const int column = static_cast<int>(i) % 2 + 1;
        SheetCell& cell = sheet.cell(row, column);
        cell.text = kClockBlanks;
        cell.fontSize = kClockBlanksSize;
        cell.format = kRightAligned;
        if (faces) {
            if (auto face = faces(clocks_[i].hour, clocks_[i].minute)) {
                cell.drawing = std::make_shared<FaceAtLeft>(
                    std::move(face),
                    static_cast<double>(sheet.columnWidth(column)) / sheet.rowHeight(row));
            }
        }
        if (withAnswers) {
            cell.answer = clockAnswerValues(clocks_[i].hour, clocks_[i].minute);
            cell.answerPlace = AnswerPlace::IntoBlanks;
        }
    }
    return sheet;
}

Sheet MistakesSheet::sheet(const QString& childName, const ClockFaceRenderer& faces) const {
    return fill(childName, faces, false);
}

Sheet MistakesSheet::answerKey(const QString& childName, const ClockFaceRenderer& faces) const {
    return fill(childName, faces, true);
}

}  // namespace sumbrook
