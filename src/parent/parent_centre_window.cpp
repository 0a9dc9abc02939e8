#include "parent_centre_window.h"

#include <QButtonGroup>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "fact_map_view.h"
#include "learning/fact_learning.h"
#include "learning/fact_map.h"
#include "learning/next_step.h"
#include "parent_charts.h"
#include "practice/core/exercise_catalogue.h"
#include "practice/core/zhuanhuan.h"
#include "readable_fact.h"
#include "window_font.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_print_preview.h"

namespace sumbrook {

namespace {

QPushButton* button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QStringLiteral("按钮_") + text);
    b->setMinimumHeight(30);
    return b;
}

QTableWidget* table(const QString& name, const QStringList& headers, QWidget* parent) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(24);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    t->setFont(windowFont(10));
    return t;
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

// Where a cell of the exercise table stands when sorted: cells with a value by it, in
// either order; after them, in either order, the ones without, the line the untried
// exercises fold under, and those exercises by number.
enum class Rank { Valued = 0, NoValue = 1, FoldLine = 2, Untried = 3 };
constexpr int kRankRole = Qt::UserRole + 1;

// A cell of the exercise table that sorts as its value (a count, a share, a time, a
// moment), not as its text, and keeps the never-tried exercises under their line.
class ExerciseCell : public QTableWidgetItem {
  public:
    ExerciseCell(const QString& text, Rank rank, double value, int exercise,
                 Qt::Alignment align = Qt::AlignCenter)
        : QTableWidgetItem(text), rank_(rank), value_(value), exercise_(exercise) {
        setTextAlignment(align | Qt::AlignVCenter);
        setData(kRankRole, static_cast<int>(rank));
    }

    bool operator<(const QTableWidgetItem& other) const override {
        const auto* o = dynamic_cast<const ExerciseCell*>(&other);
        if (o == nullptr) {
            return QTableWidgetItem::operator<(other);
        }
        // The table sorts descending by asking the other way round; ranks and ties keep
        // their own order whichever way the parent sorts.
        const bool descending =
            tableWidget() != nullptr &&
            tableWidget()->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
        if (rank_ != o->rank_) {
            return (rank_ < o->rank_) != descending;
        }
        if (rank_ == Rank::Valued && value_ != o->value_) {
            return value_ < o->value_;
        }
        return exercise_ != o->exercise_ && (exercise_ < o->exercise_) != descending;
    }

  private:
    Rank rank_;
    double value_;
    int exercise_;
};

QString exerciseName(int exercise) {
    return QStringLiteral("%1 %2").arg(exercise).arg(ExerciseCatalogue::title(exercise));
}

QString dayText(const QDateTime& at) {
    return at.isValid() ? at.toString(QStringLiteral("M月d日 HH:mm")) : QStringLiteral("—");
}

}  // namespace

ParentCentreWindow::ParentCentreWindow(JournalQueries& journal, ReportSpan span,
                                       std::function<QDateTime()> now, QWidget* parent)
    : QWidget(parent),
      journal_(journal),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }),
      span_(span) {
    setObjectName(QStringLiteral("家长中心"));
    setWindowTitle(QStringLiteral("家长中心"));
    setFont(windowFont(10));
    resize(1180, 800);

    askName_ = [this](const QString& title, const QString& label,
                      const QString& initial) -> std::optional<QString> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(this, title, label, QLineEdit::Normal, initial, &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };
    askYesNo_ = [this](const QString& title, const QString& question) {
        return QMessageBox::question(this, title, question) == QMessageBox::Yes;
    };
    askPath_ = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出练习记录"), suggested,
                                            QStringLiteral("CSV 文件 (*.csv)"));
    };

    auto* top = new QHBoxLayout;
    auto* childLabel = new QLabel(QStringLiteral("孩子："), this);
    childLabel_ = childLabel;
    childLabel->setFont(windowFont(11));
    children_ = new QComboBox(this);
    children_->setObjectName(QStringLiteral("组合框_孩子"));
    children_->setMinimumWidth(140);
    children_->setFont(windowFont(11));
    QPushButton* add = button(QStringLiteral("添加孩子"), this);
    QPushButton* rename = button(QStringLiteral("改名"), this);
    addChild_ = add;
    renameChild_ = rename;
    top->addWidget(childLabel);
    top->addWidget(children_);
    top->addWidget(add);
    top->addWidget(rename);
    top->addSpacing(24);
    spans_ = new QButtonGroup(this);
    spans_->setExclusive(true);
    for (const ReportSpan s : {ReportSpan::Week, ReportSpan::Month, ReportSpan::All}) {
        QPushButton* b = button(reportSpanName(s), this);
        b->setCheckable(true);
        b->setMinimumWidth(64);
        spans_->addButton(b, static_cast<int>(s));
        top->addWidget(b);
    }
    spans_->button(static_cast<int>(span_))->setChecked(true);
    top->addStretch(1);
    QPushButton* sheet = button(QStringLiteral("错题练习卷"), this);
    QPushButton* exportButton = button(QStringLiteral("导出"), this);
    top->addWidget(sheet);
    top->addWidget(exportButton);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("标签_概况"));
    summary_->setFont(windowFont(12, true));

    empty_ = new QLabel(this);
    empty_->setObjectName(QStringLiteral("标签_空状态"));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    empty_->setFont(windowFont(15));
    empty_->setStyleSheet(QStringLiteral("color: #5a6470; padding: 40px;"));

    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    daily_ = new QChartView(content);
    daily_->setObjectName(QStringLiteral("图表_每日"));
    daily_->setRenderHint(QPainter::Antialiasing);
    daily_->setMinimumHeight(300);

    auto* timesBox = new QWidget(content);
    auto* timesLayout = new QVBoxLayout(timesBox);
    timesLayout->setContentsMargins(0, 0, 0, 0);
    auto* pick = new QHBoxLayout;
    pick->addWidget(new QLabel(QStringLiteral("每题用时，练习："), timesBox));
    exercises_ = new QComboBox(timesBox);
    exercises_->setObjectName(QStringLiteral("组合框_练习"));
    exercises_->setMinimumWidth(200);
    pick->addWidget(exercises_);
    pick->addStretch(1);
    timesLayout->addLayout(pick);
    times_ = new QChartView(timesBox);
    times_->setObjectName(QStringLiteral("图表_用时"));
    times_->setRenderHint(QPainter::Antialiasing);
    timesLayout->addWidget(times_, 1);

    auto* exerciseBox = new QGroupBox(QStringLiteral("各项练习"), content);
    exerciseBox->setFont(windowFont(10, true));
    auto* exerciseLayout = new QVBoxLayout(exerciseBox);
    exerciseTable_ =
        table(QStringLiteral("表格_练习"),
              {QStringLiteral("练习"), QStringLiteral("做题数"), QStringLiteral("正确率"),
               QStringLiteral("每题用时"), QStringLiteral("最好成绩"), QStringLiteral("最近练习")},
              exerciseBox);
    exerciseTable_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    exerciseTable_->setSortingEnabled(true);
    exerciseLayout->addWidget(exerciseTable_);

    auto* missedBox = new QGroupBox(QStringLiteral("最常做错的题"), content);
    missedBox->setFont(windowFont(10, true));
    auto* missedLayout = new QVBoxLayout(missedBox);
    missedTable_ =
        table(QStringLiteral("表格_错题"),
              {QStringLiteral("题目"), QStringLiteral("正确答案"), QStringLiteral("孩子的答案"),
               QStringLiteral("练习"), QStringLiteral("做过"), QStringLiteral("做错"),
               QStringLiteral("最近做错")},
              missedBox);
    missedLayout->addWidget(missedTable_);

    grid->addWidget(daily_, 0, 0);
    grid->addWidget(timesBox, 0, 1);
    grid->addWidget(exerciseBox, 1, 0);
    grid->addWidget(missedBox, 1, 1);
    grid->setRowStretch(0, 5);
    grid->setRowStretch(1, 6);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    pages_ = new QStackedWidget(this);
    pages_->addWidget(empty_);
    pages_->addWidget(content);

    factPage_ = new QWidget(this);
    auto* factLayout = new QVBoxLayout(factPage_);
    nextStep_ = new QLabel(factPage_);
    nextStep_->setObjectName(QStringLiteral("标签_下一步"));
    nextStep_->setWordWrap(true);
    nextStep_->setFont(windowFont(12, true));
    dueToday_ = new QLabel(factPage_);
    dueToday_->setObjectName(QStringLiteral("标签_今日复习"));
    dueToday_->setWordWrap(true);
    dueToday_->setFont(windowFont(11));
    factMap_ = new FactMapView;
    auto* scroll = new QScrollArea(factPage_);
    scroll->setWidget(factMap_);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    factLayout->addWidget(nextStep_);
    factLayout->addWidget(dueToday_);
    factLayout->addWidget(scroll, 1);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("选项卡_家长中心"));
    tabs_->addTab(pages_, QStringLiteral("练习概况"));
    tabs_->addTab(factPage_, QStringLiteral("口算掌握"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("标签_提示"));
    status_->setWordWrap(true);
    status_->setStyleSheet(QStringLiteral("color: #38506b;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 10);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(summary_);
    layout->addWidget(tabs_, 1);
    layout->addWidget(status_);

    connect(children_, &QComboBox::activated, this,
            [this](int index) { chooseChild(children_->itemData(index).toInt()); });
    connect(add, &QPushButton::clicked, this, &ParentCentreWindow::addChild);
    connect(rename, &QPushButton::clicked, this, &ParentCentreWindow::renameChild);
    connect(spans_, &QButtonGroup::idClicked, this,
            [this](int id) { setSpan(static_cast<ReportSpan>(id)); });
    connect(exercises_, &QComboBox::activated, this,
            [this](int index) { chooseExercise(exercises_->itemData(index).toInt()); });
    // Sorting moves rows; the untried ones stay folded or unfolded as they were.
    connect(exerciseTable_->model(), &QAbstractItemModel::layoutChanged, this,
            &ParentCentreWindow::applyFold);
    connect(exerciseTable_, &QTableWidget::cellClicked, this,
            [this](int row, int) { toggleFold(row); });
    connect(exerciseTable_, &QTableWidget::cellActivated, this,
            [this](int row, int) { toggleFold(row); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentWidget() == factPage_) {
            showFactMap();
        }
    });
    connect(sheet, &QPushButton::clicked, this, &ParentCentreWindow::openMistakesSheet);
    connect(exportButton, &QPushButton::clicked, this, &ParentCentreWindow::exportCsv);

    refresh();
}

ParentCentreWindow::~ParentCentreWindow() = default;

void ParentCentreWindow::setClock(std::function<QDateTime()> now) {
    now_ = std::move(now);
    refresh();
}

void ParentCentreWindow::setChildrenFixed(const QString& chooserLabel) {
    childLabel_->setText(chooserLabel);
    addChild_->hide();
    renameChild_->hide();
}

void ParentCentreWindow::setSpan(ReportSpan span) {
    span_ = span;
    spans_->button(static_cast<int>(span))->setChecked(true);
    refresh();
}

void ParentCentreWindow::chooseChild(int id) {
    if (id <= 0) {
        return;
    }
    if (!journal_.chooseChild(id)) {
        tell(QStringLiteral("没能选择这个孩子。"));
        fillChildren();
        return;
    }
    childId_ = id;
    exercise_ = 0;
    fillChildren();
    refresh();
}

void ParentCentreWindow::chooseExercise(int exercise) {
    forgetReadError();
    selectExercise(exercise);
}

void ParentCentreWindow::selectExercise(int exercise) {
    exercise_ = exercise;
    const int index = exercises_->findData(exercise);
    if (index >= 0) {
        exercises_->setCurrentIndex(index);
    }
    showExerciseTimes();
}

void ParentCentreWindow::fillChildren() {
    const QVector<Child> children = journal_.children();
    const bool read = !readFailed();
    if (!read && childrenKnown_) {
        return;  // the list read before still names them
    }
    childrenKnown_ = read;
    const QSignalBlocker block(children_);
    children_->clear();
    for (const Child& c : children) {
        children_->addItem(c.name, c.id);
    }
    int index = children_->findData(childId_);
    if (index < 0 && children_->count() > 0) {
        index = 0;
        childId_ = children_->itemData(0).toInt();
    }
    children_->setCurrentIndex(index);
}

QString ParentCentreWindow::childName() const {
    const int index = children_->findData(childId_);
    return index >= 0 ? children_->itemText(index) : QString();
}

void ParentCentreWindow::tell(const QString& text) {
    status_->setText(text);
}

bool ParentCentreWindow::readFailed() {
    const QString error = journal_.readError();
    if (error.isEmpty()) {
        return false;
    }
    readErrorTold_ = error;
    tell(error);
    return true;
}

void ParentCentreWindow::forgetReadError() {
    if (!readErrorTold_.isEmpty() && status_->text() == readErrorTold_) {
        tell(QString());
    }
    readErrorTold_.clear();
}

void ParentCentreWindow::refresh() {
    forgetReadError();
    if (!childrenKnown_) {
        // Until the journal has named the children, the one it says practises is shown.
        const int current = journal_.currentChildId();
        if (!readFailed()) {
            childId_ = current;
        }
        fillChildren();
    }
    report_ = ParentReport::load(journal_, childId_, journalSpanOf(span_, now_()));
    readFailed();
    showReport();
    if (tabs_->currentWidget() == factPage_) {
        showFactMap();
    }
}

void ParentCentreWindow::showFactMap() {
    const QVector<FactAnswer> answers = journal_.factAnswers(childId_);
    if (readFailed()) {
        nextStep_->setText(journal_.readError());
        dueToday_->clear();
        factMap_->setMap(FactMap(FactLearning({})));
        return;
    }
    const FactLearning learning(answers);
    factMap_->setMap(FactMap(learning));
    nextStep_->setText(QStringLiteral("下一步：") + NextStep::of(learning.facts()).sentence);
    const auto due = learning.due(now_().date()).size();
    QString dueText = QStringLiteral("今天没有到期要复习的错题。");
    if (due > 0) {
        dueText = QStringLiteral("今天有 %1 道错题到了复习的时候：孩子在主菜单点“错题复习”就能做")
                      .arg(due);
        dueText += due > FactLearning::kReviewLength
                       ? QStringLiteral("，每次 %1 道。").arg(FactLearning::kReviewLength)
                       : QStringLiteral("。");
    }
    dueToday_->setText(dueText);
}

void ParentCentreWindow::showReport() {
    const QString spanName = reportSpanName(span_);
    if (!report_.error.isEmpty()) {
        // Not the empty state: the practice may all be there, only unread.
        summary_->setText(QString());
        empty_->setText(QStringLiteral("%1\n练习记录现在读不出来，并不是没有练习。过一会儿再点"
                                       "“本周”、“本月”或“全部”，会重新读取。")
                            .arg(report_.error));
        pages_->setCurrentWidget(empty_);
    } else if (report_.isEmpty()) {
        summary_->setText(QString());
        empty_->setText(span_ == ReportSpan::All
                            ? QStringLiteral("还没有练习记录。\n孩子开始练习以后，每天做了多少题、"
                                             "做对了多少、用了多少时间，都会显示在这里。")
                            : QStringLiteral("%1还没有练习记录。\n孩子练习以后，每天做了多少题、"
                                             "做对了多少，都会显示在这里；选“全部”可以看以前的练"
                                             "习。")
                                  .arg(spanName));
        pages_->setCurrentWidget(empty_);
    } else {
        summary_->setText(QStringLiteral("%1，%2：共做 %3 题，做对 %4 题，正确率 %5，练习了 %6 天")
                              .arg(childName(), spanName)
                              .arg(report_.asked)
                              .arg(report_.right)
                              .arg(ParentReport::percentText(report_.right, report_.asked))
                              .arg(report_.days.size()));
        pages_->setCurrentWidget(pages_->widget(1));
    }

    QChart* old = daily_->chart();
    daily_->setChart(ParentCharts::dailyChart(report_.days, journalSpanOf(span_, now_())));
    delete old;

    {
        const QSignalBlocker block(exercises_);
        exercises_->clear();
        for (const ExerciseTally& t : report_.exercises) {
            if (t.tried > 0) {
                exercises_->addItem(exerciseName(t.exercise), t.exercise);
            }
        }
    }
    if (exercises_->findData(exercise_) < 0) {
        exercise_ = report_.mostTriedExercise();
    }
    selectExercise(exercise_);
    fillExerciseTable();
    fillMissedTable();
}

void ParentCentreWindow::showExerciseTimes() {
    QVector<AnswerTimePoint> times;
    QString title = QStringLiteral("每题用时");
    if (exercise_ > 0) {
        times = journal_.answerTimes(childId_, exercise_, journalSpanOf(span_, now_()));
        title = readFailed() ? journal_.readError()
                             : QStringLiteral("每题用时：%1").arg(exerciseName(exercise_));
    }
    QChart* old = times_->chart();
    times_->setChart(ParentCharts::timeChart(times, title));
    delete old;
}

void ParentCentreWindow::fillExerciseTable() {
    // Rows go in unsorted, then are sorted once as the parent last chose.
    exerciseTable_->setSortingEnabled(false);
    exerciseTable_->clearContents();
    exerciseTable_->setRowCount(0);
    int untried = 0;
    const auto addRow = [this](const QVector<ExerciseCell*>& cells) {
        const int row = exerciseTable_->rowCount();
        exerciseTable_->insertRow(row);
        for (int column = 0; column < cells.size(); ++column) {
            exerciseTable_->setItem(row, column, cells[column]);
        }
    };
    for (const ExerciseTally& t : report_.exercises) {
        const int n = t.exercise;
        if (t.tried <= 0) {
            ++untried;
            const auto none = [n] {
                return new ExerciseCell(QStringLiteral("—"), Rank::Untried, 0, n);
            };
            addRow({new ExerciseCell(exerciseName(n), Rank::Untried, n, n, Qt::AlignLeft),
                    new ExerciseCell(QStringLiteral("0"), Rank::Untried, 0, n), none(), none(),
                    none(), none()});
            continue;
        }
        const auto valued = [n](const QString& text, double value) {
            return new ExerciseCell(text, Rank::Valued, value, n);
        };
        const auto timed = [&](const QString& text, std::optional<double> value) {
            return value ? valued(text, *value)
                         : new ExerciseCell(QStringLiteral("—"), Rank::NoValue, 0, n);
        };
        addRow(
            {new ExerciseCell(exerciseName(n), Rank::Valued, n, n, Qt::AlignLeft),
             valued(QString::number(t.tried), t.tried),
             valued(ParentReport::percentText(t.right, t.tried),
                    static_cast<double>(t.right) / t.tried),
             valued(ParentReport::secondsText(t.medianMs), static_cast<double>(t.medianMs)),
             timed(t.bestMs ? zhuanhuan(*t.bestMs) : QString(),
                   t.bestMs ? std::optional<double>(static_cast<double>(*t.bestMs)) : std::nullopt),
             timed(dayText(t.lastPractised), t.lastPractised.isValid()
                                                 ? std::optional<double>(static_cast<double>(
                                                       t.lastPractised.toMSecsSinceEpoch()))
                                                 : std::nullopt)});
    }
    if (untried > 0) {
        auto* line = new ExerciseCell(QStringLiteral("未练习的 %1 个练习").arg(untried),
                                      Rank::FoldLine, 0, 0, Qt::AlignLeft);
        line->setToolTip(QStringLiteral("点一下展开或收起"));
        QVector<ExerciseCell*> cells{line};
        for (int column = 1; column < exerciseTable_->columnCount(); ++column) {
            cells << new ExerciseCell(QString(), Rank::FoldLine, 0, 0);
        }
        addRow(cells);
    }
    exerciseTable_->setSortingEnabled(true);
    applyFold();
}

void ParentCentreWindow::applyFold() {
    for (int row = 0; row < exerciseTable_->rowCount(); ++row) {
        const QTableWidgetItem* first = exerciseTable_->item(row, 0);
        const Rank rank = first ? static_cast<Rank>(first->data(kRankRole).toInt()) : Rank::Valued;
        exerciseTable_->setRowHidden(row, rank == Rank::Untried && !untriedShown_);
        if (rank == Rank::FoldLine) {
            exerciseTable_->item(row, 0)->setIcon(style()->standardIcon(
                untriedShown_ ? QStyle::SP_ArrowDown : QStyle::SP_ArrowRight));
        }
    }
}

void ParentCentreWindow::toggleFold(int row) {
    const QTableWidgetItem* first = exerciseTable_->item(row, 0);
    if (first == nullptr || first->data(kRankRole).toInt() != static_cast<int>(Rank::FoldLine)) {
        return;
    }
    untriedShown_ = !untriedShown_;
    applyFold();
}

void ParentCentreWindow::fillMissedTable() {
    missedTable_->setRowCount(static_cast<int>(report_.mostMissed.size()));
    int row = 0;
    for (const MissedFact& f : report_.mostMissed) {
        missedTable_->setItem(row, 0, cell(ReadableFact::question(f), Qt::AlignLeft));
        missedTable_->setItem(row, 1, cell(ReadableFact::answer(f)));
        missedTable_->setItem(row, 2, cell(ReadableFact::wrongAnswers(f)));
        missedTable_->setItem(
            row, 3,
            cell(ExerciseCatalogue::contains(f.exercise) ? ExerciseCatalogue::title(f.exercise)
                                                         : QString::number(f.exercise)));
        missedTable_->setItem(row, 4, cell(QStringLiteral("%1 次").arg(f.asked)));
        missedTable_->setItem(row, 5, cell(QStringLiteral("%1 次").arg(f.missed)));
        missedTable_->setItem(row, 6, cell(dayText(f.lastMissed)));
        ++row;
    }
}

void ParentCentreWindow::addChild() {
    const std::optional<QString> name =
        askName_(QStringLiteral("添加孩子"), QStringLiteral("孩子的名字："), QString());
    if (!name || name->trimmed().isEmpty()) {
        return;
    }
    bool taken = false;
    for (const Child& c : journal_.children()) {
        taken = taken || c.name.simplified() == name->simplified();
    }
    const int id = journal_.addChild(name->trimmed());
    if (id <= 0) {
        tell(taken ? QStringLiteral("已经有一个叫“%1”的孩子了。").arg(name->trimmed())
                   : QStringLiteral("没能添加“%1”。").arg(name->trimmed()));
        return;
    }
    const QString added = name->simplified();
    if (askYesNo_(QStringLiteral("添加孩子"),
                  QStringLiteral("已添加“%1”。下次开始练习时换成“%1”来练习吗？").arg(added))) {
        tell(QStringLiteral("已添加“%1”，下次开始练习时就是“%1”在练习。").arg(added));
        chooseChild(id);
        return;
    }
    fillChildren();
    tell(QStringLiteral("已添加“%1”，下次开始练习的还是“%2”。").arg(added, childName()));
}

void ParentCentreWindow::renameChild() {
    const QString current = childName();
    const std::optional<QString> name =
        askName_(QStringLiteral("改名"), QStringLiteral("新的名字："), current);
    if (!name || name->trimmed().isEmpty() || name->trimmed() == current) {
        return;
    }
    bool taken = false;
    for (const Child& c : journal_.children()) {
        taken = taken || (c.id != childId_ && c.name.simplified() == name->simplified());
    }
    if (!journal_.renameChild(childId_, name->trimmed())) {
        tell(taken ? QStringLiteral("已经有一个叫“%1”的孩子了。").arg(name->trimmed())
                   : QStringLiteral("没能改名。"));
        return;
    }
    fillChildren();
    showReport();
    // What the status line said of the child before is said again under the new name.
    const QString renamed = childName();
    const int practising = journal_.currentChildId();
    tell(practising == childId_ && journal_.readError().isEmpty()
             ? QStringLiteral("已改名为“%1”，下次开始练习时就是“%1”在练习。").arg(renamed)
             : QStringLiteral("已改名为“%1”。").arg(renamed));
    if (mistakesChild_ == childId_) {
        mistakesName_ = renamed;
        if (preview_ && preview_->dialog()) {
            preview_->refresh();
        }
    }
}

void ParentCentreWindow::openMistakesSheet() {
    forgetReadError();
    const QVector<MissedFact> missed =
        journal_.missedFacts(childId_, journalSpanOf(span_, now_()), ParentReport::kMissedAsked);
    if (readFailed()) {
        return;
    }
    mistakes_ = MistakesSheet::build(missed);
    mistakesName_ = childName();
    mistakesChild_ = childId_;
    const QString note = mistakes_.leftOutNote();
    if (mistakes_.isEmpty()) {
        tell(QStringLiteral("%1没有可以印成算式的错题，不用出错题练习卷。%2")
                 .arg(reportSpanName(span_), note));
        return;
    }
    tell(QStringLiteral("错题练习卷：%1 道做错的题，%2 道相近的题。%3")
             .arg(mistakes_.missedCount() + static_cast<int>(mistakes_.clocks().size()))
             .arg(static_cast<int>(mistakes_.items().size()) - mistakes_.missedCount())
             .arg(note));
    if (!preview_) {
        preview_ = std::make_unique<SheetPrintPreview>(this, [this] {
            return std::pair<std::optional<Sheet>, std::optional<Sheet>>(
                mistakes_.sheet(mistakesName_, &ClockFacePainter::drawing),
                mistakes_.answerKey(mistakesName_, &ClockFacePainter::drawing));
        });
    }
    const bool wasOpen = preview_->dialog() != nullptr;
    preview_->open();
    // The mistakes sheet comes with its answer key.
    if (auto* answers =
            preview_->dialog()->findChild<QCheckBox*>(QStringLiteral("复选框_答案页"))) {
        answers->setChecked(true);
    }
    if (wasOpen) {
        preview_->refresh();
    }
}

void ParentCentreWindow::exportCsv() {
    const QString suggested = QStringLiteral("%1的练习记录.csv").arg(childName());
    const QString path = askPath_(suggested);
    if (path.isEmpty()) {
        return;
    }
    forgetReadError();
    const bool written = journal_.exportCsv(childId_, path);
    if (readFailed()) {
        return;  // the answers were not read, whatever was written
    }
    tell(written ? QStringLiteral("已导出到 %1").arg(path)
                 : QStringLiteral("导出失败：无法写入 %1").arg(path));
}

}  // namespace sumbrook
