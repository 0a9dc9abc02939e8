#include "class_page.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "heat_map_view.h"
#include "parent/fact_map_view.h"
#include "parent/readable_fact.h"
#include "parent/window_font.h"
#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

namespace {

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

QScrollArea* scrolled(QWidget* inside, QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidget(inside);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return scroll;
}

}  // namespace

// What one read of the server gave.
struct ClassPage::Read {
    ClassSpan span = ClassSpan::Week;
    ClassHeatMap heat;
    QVector<ClassMissedFact> missed;
    ClassFluency fluency;
    QString error;
};

ClassPage::ClassPage(LessonPoller::Source source, std::function<QDateTime()> now, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), now_(std::move(now)) {
    setObjectName(QStringLiteral("全班"));
    auto* top = new QHBoxLayout;
    spans_ = new QButtonGroup(this);
    for (const ClassSpan s : {ClassSpan::Week, ClassSpan::Month, ClassSpan::Term}) {
        auto* b = new QPushButton(classSpanName(s), this);
        b->setObjectName(QStringLiteral("按钮_") + classSpanName(s));
        b->setCheckable(true);
        b->setMinimumSize(80, 34);
        b->setFont(windowFont(12));
        spans_->addButton(b, static_cast<int>(s));
        top->addWidget(b);
    }
    spans_->button(static_cast<int>(span_))->setChecked(true);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("标签_全班概况"));
    summary_->setFont(windowFont(12, true));
    top->addSpacing(16);
    top->addWidget(summary_, 1);

    // One scrolled column, as a report reads: the heat map whole, then the facts.
    auto* content = new QWidget;
    heatMap_ = new HeatMapView;
    auto* heatBox = new QGroupBox(QStringLiteral("各项练习的正确率（每行一个学生）"), content);
    heatBox->setFont(windowFont(11, true));
    auto* heatLayout = new QVBoxLayout(heatBox);
    heatLayout->addWidget(heatMap_, 0, Qt::AlignLeft | Qt::AlignTop);

    auto* missedBox = new QGroupBox(QStringLiteral("全班最常做错的题"), content);
    missedBox->setFont(windowFont(11, true));
    missed_ = new QTableWidget(0, 5, missedBox);
    missed_->setObjectName(QStringLiteral("表格_全班错题"));
    missed_->setHorizontalHeaderLabels({QStringLiteral("题目"), QStringLiteral("正确答案"),
                                        QStringLiteral("做错的学生"), QStringLiteral("做过"),
                                        QStringLiteral("做错")});
    missed_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    missed_->setSelectionBehavior(QAbstractItemView::SelectRows);
    missed_->setAlternatingRowColors(true);
    missed_->verticalHeader()->setVisible(false);
    missed_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    missed_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    missed_->setFont(windowFont(11));
    auto* missedLayout = new QVBoxLayout(missedBox);
    missedLayout->addWidget(missed_);

    auto* fluencyBox = new QGroupBox(QStringLiteral("口算熟练的人数"), content);
    fluencyBox->setFont(windowFont(11, true));
    fluency_ = new FactMapView;
    fluency_->setObjectName(QStringLiteral("全班口算图"));
    auto* fluencyLayout = new QVBoxLayout(fluencyBox);
    fluencyLayout->addWidget(fluency_, 0, Qt::AlignLeft | Qt::AlignTop);
    missed_->setMinimumWidth(260);
    missed_->setFixedHeight(fluency_->sizeHint().height());

    auto* lower = new QHBoxLayout;
    lower->addWidget(missedBox, 1);
    lower->addWidget(fluencyBox, 0);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 8, 0);
    column->addWidget(heatBox);
    column->addLayout(lower);
    column->addStretch(1);
    auto* scroll = scrolled(content, this);
    scroll->setObjectName(QStringLiteral("滚动_全班"));
    scroll->setWidgetResizable(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);

    connect(spans_, &QButtonGroup::idClicked, this,
            [this](int id) { setSpan(static_cast<ClassSpan>(id)); });
}

void ClassPage::setSpan(ClassSpan span) {
    span_ = span;
    spans_->button(static_cast<int>(span))->setChecked(true);
    refresh();
}

ClassPage::~ClassPage() {
    // The read posts its answer to this page; it must be over before the page goes.
    if (thread_) {
        thread_->wait();
    }
}

void ClassPage::refresh() {
    if (thread_) {
        again_ = true;
        return;
    }
    summary_->setText(QStringLiteral("正在读取%1全班的练习记录……").arg(classSpanName(span_)));
    const JournalSpan span = journalSpanOf(span_, now_());
    thread_.reset(QThread::create([this, source = source_, span, asked = span_] {
        Read read;
        read.span = asked;
        if (const std::shared_ptr<ClassQueries> queries = source(&read.error)) {
            read.heat = queries->heatMap(span);
            read.error = queries->readError();
            if (read.error.isEmpty()) {
                QMetaObject::invokeMethod(
                    this, [this, read] { showHeatMap(read); }, Qt::QueuedConnection);
                read.missed = queries->mostMissed(span, kMissedShown);
                read.error = queries->readError();
            }
            if (read.error.isEmpty()) {
                read.fluency = queries->fluency();
                read.error = queries->readError();
            }
        } else if (read.error.isEmpty()) {
            read.error = QStringLiteral("连不上班级的服务器。");
        }
        QMetaObject::invokeMethod(
            this, [this, read] { show(read); }, Qt::QueuedConnection);
    }));
    thread_->setObjectName(QStringLiteral("全班"));
    thread_->start();
}

void ClassPage::show(const Read& read) {
    thread_->wait();
    thread_.reset();
    if (again_ || read.span != span_) {
        again_ = false;
        refresh();  // the teacher asked again meanwhile: only the latest is shown
        return;
    }
    if (!read.error.isEmpty()) {
        summary_->setText(QStringLiteral("读不出全班的练习记录，并不是没有练习。"));
        emit told(read.error);
        return;
    }
    showHeatMap(read);
    fillMissed(read.missed);
    const ClassFluency& fluency = read.fluency;
    fluency_->setCounts(fluency.pupils, [&fluency](QChar sign, int a, int b) {
        return sign == u'+'
                   ? FactMapView::Count{fluency.additionFluent[a][b], fluency.additionMet[a][b]}
                   : FactMapView::Count{fluency.subtractionFluent[a][b],
                                        fluency.subtractionMet[a][b]};
    });
    filled_ = true;
}

void ClassPage::fillMissed(const QVector<ClassMissedFact>& facts) {
    missed_->setRowCount(static_cast<int>(facts.size()));
    for (int row = 0; row < facts.size(); ++row) {
        const ClassMissedFact& f = facts[row];
        auto* question = cell(ReadableFact::question(f.fact), Qt::AlignLeft);
        if (ExerciseCatalogue::contains(f.fact.exercise)) {
            question->setToolTip(ExerciseCatalogue::title(f.fact.exercise));
        }
        missed_->setItem(row, 0, question);
        missed_->setItem(row, 1, cell(ReadableFact::answer(f.fact)));
        missed_->setItem(row, 2, cell(QStringLiteral("%1 人").arg(f.pupils)));
        missed_->setItem(row, 3, cell(QStringLiteral("%1 次").arg(f.fact.asked)));
        missed_->setItem(row, 4, cell(QStringLiteral("%1 次").arg(f.fact.missed)));
    }
}

void ClassPage::showHeatMap(const Read& read) {
    if (again_ || read.span != span_) {
        return;
    }
    const ClassHeatMap& heat = read.heat;
    heatMap_->setMap(heat);
    int asked = 0;
    int right = 0;
    for (const auto& row : heat.cells) {
        for (const HeatCell& c : row) {
            asked += c.tried;
            right += c.right;
        }
    }
    summary_->setText(asked > 0
                          ? QStringLiteral("%1：%2 名学生共做 %3 题，正确率 %4%")
                                .arg(classSpanName(span_))
                                .arg(heat.pupils.size())
                                .arg(asked)
                                .arg(qRound(100.0 * right / asked))
                          : QStringLiteral("%1全班还没有练习记录。").arg(classSpanName(span_)));
}

}  // namespace sumbrook
