#pragma once

#include <QDateTime>
#include <QWidget>
#include <functional>

#include "classroom/class_queries.h"
#include "journal/journal_queries.h"
#include "lesson_poller.h"

class QHBoxLayout;
class QLabel;
class QTabWidget;

namespace sumbrook {

class ClassPage;
class LessonBoard;
class ParentCentreWindow;
class RosterPage;

// "教师中心": the class as the teacher sees it. "此刻" follows the lesson going on, read
// every second off the GUI thread; "全班" the class over a span; "一个学生" is the
// parent's window over the pupils; "班级名单" manages the list; the class's two printouts
// open from its top row. It reads through the queries it is given and keeps no copy of the
// class of its own.
class TeacherWindow : public QWidget {
    Q_OBJECT
  public:
    // `queries` serves the GUI thread; `lesson` makes the "此刻" and "全班" readers their
    // own queries on their threads; `pupils` is the pupils as the parent's window reads
    // children.
    TeacherWindow(ClassQueries& queries, JournalQueries& pupils, LessonPoller::Source lesson,
                  std::function<QDateTime()> now = {}, QWidget* parent = nullptr);
    ~TeacherWindow() override;

    // "全班错题卷" covers the last kSheetDays days, as `sumbrook class sheets` does.
    static constexpr int kSheetDays = 7;

    // The printouts' buttons go in the row at the top, beside the class's name.
    void addPrintButton(const QString& text, std::function<void()> action);
    // Their work: each printout read from the server and shown in its print preview.
    void openClassSheets();
    void openWeekReport();

    LessonBoard* board() const { return board_; }
    ClassPage* classPage() const { return classPage_; }
    ParentCentreWindow* pupilWindow() const { return pupilWindow_; }
    RosterPage* roster() const { return roster_; }
    LessonPoller* poller() const { return poller_; }
    QTabWidget* tabs() const { return tabs_; }
    QString status() const;

    void showPage(const QString& name);  // "此刻", "全班", "一个学生", "班级名单"

  private:
    void tell(const QString& text);

    ClassQueries& queries_;
    JournalQueries& pupils_;
    std::function<QDateTime()> now_;
    LessonPoller* poller_ = nullptr;
    QString failureTold_;  // the "此刻" failure the status line tells, if any
    QHBoxLayout* printRow_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    LessonBoard* board_ = nullptr;
    ClassPage* classPage_ = nullptr;
    ParentCentreWindow* pupilWindow_ = nullptr;
    RosterPage* roster_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace sumbrook
