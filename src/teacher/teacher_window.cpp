#include "teacher_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "class_page.h"
#include "lesson_board.h"
#include "parent/parent_centre_window.h"
#include "parent/window_font.h"
#include "print/class_sheets.h"
#include "print/week_report.h"
#include "roster_page.h"

namespace sumbrook {

namespace {}  // namespace

TeacherWindow::TeacherWindow(ClassQueries& queries, JournalQueries& pupils,
                             LessonPoller::Source lesson, std::function<QDateTime()> now,
                             QWidget* parent)
    : QWidget(parent),
      queries_(queries),
      pupils_(pupils),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("教师中心"));
    setWindowTitle(QStringLiteral("教师中心"));
    setFont(windowFont(11));
    // Large, for a projector, but never beyond the screen.
    const QSize room =
        screen() != nullptr ? screen()->availableGeometry().size() * 0.96 : QSize(1400, 900);
    resize(QSize(1400, 900).boundedTo(room));

    auto* top = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("教师中心"), this);
    title->setFont(windowFont(17, true));
    title->setStyleSheet(QStringLiteral("color: #23415f;"));
    top->addWidget(title);
    top->addStretch(1);
    printRow_ = new QHBoxLayout;
    top->addLayout(printRow_);

    board_ = new LessonBoard(this);
    classPage_ = new ClassPage(lesson, now_, this);
    pupilWindow_ = new ParentCentreWindow(pupils, ReportSpan::Week, now_, this);
    pupilWindow_->setWindowFlags(Qt::Widget);
    pupilWindow_->setChildrenFixed(QStringLiteral("学生："));
    roster_ = new RosterPage(queries_, this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("选项卡_教师中心"));
    tabs_->setDocumentMode(true);
    tabs_->tabBar()->setFont(windowFont(13, true));
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 8px 22px; }"));
    tabs_->addTab(board_, QStringLiteral("此刻"));
    tabs_->addTab(classPage_, QStringLiteral("全班"));
    tabs_->addTab(pupilWindow_, QStringLiteral("一个学生"));
    tabs_->addTab(roster_, QStringLiteral("班级名单"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("标签_提示"));
    status_->setWordWrap(true);
    status_->setFont(windowFont(11));
    status_->setStyleSheet(QStringLiteral("color: #38506b;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addWidget(status_);

    connect(classPage_, &ClassPage::told, this, &TeacherWindow::tell);
    connect(roster_, &RosterPage::told, this, &TeacherWindow::tell);
    connect(roster_, &RosterPage::changed, this, [this] {
        // The pupil chooser and the tiles name the pupils as the server now does.
        if (pupilWindow_->childId() > 0) {
            pupilWindow_->chooseChild(pupilWindow_->childId());
        } else {
            pupilWindow_->refresh();
        }
        poller_->readNow();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentWidget() == classPage_) {
            classPage_->refresh();
        } else if (tabs_->currentWidget() == roster_) {
            roster_->refresh();
        }
    });

    poller_ = new LessonPoller(std::move(lesson), now_, this);
    connect(poller_, &LessonPoller::lessonRead, board_, &LessonBoard::setPupils);
    connect(poller_, &LessonPoller::failed, this, [this](const QString& error) {
        failureTold_ = QStringLiteral("读不到全班此刻的情况，每秒会再试：") + error;
        tell(failureTold_);
    });
    connect(poller_, &LessonPoller::recovered, this, [this] {
        if (status_->text() == failureTold_) {
            tell(QString());
        }
        failureTold_.clear();
    });
    addPrintButton(ClassSheets::title(), [this] { openClassSheets(); });
    addPrintButton(WeekReport::title(), [this] { openWeekReport(); });
    roster_->refresh();
    poller_->start();
}

void TeacherWindow::openClassSheets() {
    const ClassSheets sheets = ClassSheets::build(queries_, pupils_, now_(), kSheetDays);
    if (!sheets.error().isEmpty()) {
        tell(sheets.error());
        return;
    }
    if (sheets.isEmpty()) {
        tell(QStringLiteral("最近 %1 天没有学生做错题，不用出全班错题卷。").arg(kSheetDays));
        return;
    }
    tell(QStringLiteral("全班错题卷：最近 %1 天做错过题的 %2 名学生，每人一份错题卷和答案。")
             .arg(kSheetDays)
             .arg(sheets.sheets().size()));
    sheets.openPreview(this);
}

void TeacherWindow::openWeekReport() {
    const JournalSpan week = WeekReport::weekOf(now_().date());
    const WeekReport report = WeekReport::build(queries_, pupils_, week);
    if (!report.error().isEmpty()) {
        tell(report.error());
        return;
    }
    tell(QStringLiteral("班级周报：%1").arg(WeekReport::spanText(week)));
    report.openPreview(this);
}

TeacherWindow::~TeacherWindow() = default;

void TeacherWindow::addPrintButton(const QString& text, std::function<void()> action) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QStringLiteral("按钮_") + text);
    b->setMinimumHeight(34);
    b->setFont(windowFont(12));
    connect(b, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    printRow_->addWidget(b);
}

QString TeacherWindow::status() const {
    return status_->text();
}

void TeacherWindow::tell(const QString& text) {
    status_->setText(text);
}

void TeacherWindow::showPage(const QString& name) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->tabText(i) == name) {
            tabs_->setCurrentIndex(i);
            return;
        }
    }
}

}  // namespace sumbrook
