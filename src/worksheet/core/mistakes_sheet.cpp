#include "mistakes_sheet.h"

#include <QLoggingCategory>
#include <QSet>

#include "exercise_fact_rules.h"
#include "fill_worksheet.h"
#include "sheet_template.h"

Q_LOGGING_CATEGORY(lcMistakesSheet, "sumbrook.worksheet.mistakes")

namespace sumbrook {

namespace {

constexpr int kClockExercise = 36;
constexpr int kMoneyExercise = 37;
// How far from a missed fact a top-up fact may stand: a neighbour, or a neighbour's.
constexpr int kTopUpRings = 2;

// The recorded answer agrees with the sum, so the key never prints a wrong answer.
bool answerAgrees(const ArithmeticFact& fact, const QString& expected) {
    bool ok = false;
    const int value = expected.trimmed().toInt(&ok);
    return ok && value == fact.answer();
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

    for (const MissedFact& missed : facts) {
        if (missed.exercise == kClockExercise) {
            ++out.clockLeftOut_;
            continue;
        }
        if (missed.exercise == kMoneyExercise) {
            ++out.moneyLeftOut_;
            continue;
        }
        const std::optional<ArithmeticFact> fact = ArithmeticFact::parse(missed.shown);
        if (!fact || !answerAgrees(*fact, missed.expected)) {
            ++out.unreadable_;
            continue;
        }
        add(missed.exercise, *fact, true);
    }
    if (out.unreadable_ > 0) {
        qCInfo(lcMistakesSheet) << out.unreadable_
                                << "missed questions are not sums the sheet can print; left out";
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

Sheet MistakesSheet::fill(const QString& childName, bool withAnswers) const {
    Sheet sheet = SheetTemplate::load(SheetKind::Arithmetic);
    sheet.cell(1, 1).text = withAnswers ? title() + QStringLiteral("（答案）") : title();
    writeName(sheet.cell(2, 1), childName);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const SheetPlace place = questionPlace(0, static_cast<int>(i) + 1);
        const ArithmeticFact& fact = items_[i].fact;
        sheet.cell(place.row, place.column).text = withAnswers ? fact.keyText() : fact.sheetText();
    }
    return sheet;
}

Sheet MistakesSheet::sheet(const QString& childName) const {
    return fill(childName, false);
}

Sheet MistakesSheet::answerKey(const QString& childName) const {
    return fill(childName, true);
}

}  // namespace sumbrook
