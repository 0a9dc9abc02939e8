#pragma once

#include <QDateTime>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "journal/journal_queries.h"
#include "parent_report.h"
#include "report_span.h"
#include "worksheet/core/mistakes_sheet.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTabWidget;

QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

namespace sumbrook {

class FactMapView;
class SheetPrintPreview;

// "家长中心": what the chosen child practised over the chosen span, as charts and tables,
// with the family's children, a mistakes sheet to print and the export for the teacher.
// It reads the journal when the child or span changes and then only displays; a read that
// fails is told, with the journal's file and reason, never shown as no practice.
class ParentCentreWindow : public QWidget {
    Q_OBJECT
  public:
    // Asks for a child's name; nothing when the parent cancels.
    using NameAsker = std::function<std::optional<QString>(
        const QString& title, const QString& label, const QString& initial)>;
    // Asks where to save the export; empty when the parent cancels.
    using PathAsker = std::function<QString(const QString& suggested)>;
    // Asks the parent a question answered with yes (true) or no.
    using YesNoAsker = std::function<bool(const QString& title, const QString& question)>;

    // Opens on `span` with `now` as today (the system clock when empty), reading the
    // journal once.
    explicit ParentCentreWindow(JournalQueries& journal, ReportSpan span = ReportSpan::Week,
                                std::function<QDateTime()> now = {}, QWidget* parent = nullptr);
    ~ParentCentreWindow() override;

    // What "today" is; the spans end with it.
    void setClock(std::function<QDateTime()> now);
    void setNameAsker(NameAsker ask) { askName_ = std::move(ask); }
    void setPathAsker(PathAsker ask) { askPath_ = std::move(ask); }
    void setYesNoAsker(YesNoAsker ask) { askYesNo_ = std::move(ask); }
    // For a list of children kept elsewhere (the teacher's class list): no adding or
    // renaming here, and the chooser named `chooserLabel`.
    void setChildrenFixed(const QString& chooserLabel);

    void setSpan(ReportSpan span);
    ReportSpan span() const { return span_; }
    int childId() const { return childId_; }
    void chooseChild(int id);
    void chooseExercise(int exercise);
    int exercise() const { return exercise_; }

    const ParentReport& report() const { return report_; }
    const MistakesSheet& mistakesSheet() const { return mistakes_; }
    SheetPrintPreview* printPreview() const { return preview_.get(); }

    // The buttons' work, the dialogs asked through the askers.
    void addChild();
    void renameChild();
    void openMistakesSheet();
    void exportCsv();

    // Reads the journal again.
    void refresh();
    // "口算掌握": the fact map of the chosen child, read when that page is shown.
    void showFactMap();
    FactMapView* factMapView() const { return factMap_; }

  private:
    void fillChildren();
    void showReport();
    void selectExercise(int exercise);
    void showExerciseTimes();
    void fillExerciseTable();
    void fillMissedTable();
    // Hides or shows the exercises never tried, under their line in the exercise table.
    void applyFold();
    void toggleFold(int row);
    QString childName() const;
    void tell(const QString& text);
    // Whether the journal's last read failed, told in the status line if so.
    bool readFailed();
    // Clears a failure told before from the status line, as the parent asks again.
    void forgetReadError();

    JournalQueries& journal_;
    std::function<QDateTime()> now_;
    NameAsker askName_;
    PathAsker askPath_;
    YesNoAsker askYesNo_;
    ReportSpan span_ = ReportSpan::Week;
    int childId_ = 0;
    int exercise_ = 0;
    ParentReport report_;
    MistakesSheet mistakes_;
    QString mistakesName_;
    int mistakesChild_ = 0;       // whose mistakes the sheet holds, named by mistakesName_
    QString readErrorTold_;       // the read failure the status line tells, if any
    bool childrenKnown_ = false;  // the list of children was read from the journal
    bool untriedShown_ = false;   // the exercises never tried are unfolded
    std::unique_ptr<SheetPrintPreview> preview_;

    QLabel* childLabel_ = nullptr;
    QComboBox* children_ = nullptr;
    QPushButton* addChild_ = nullptr;
    QPushButton* renameChild_ = nullptr;
    QButtonGroup* spans_ = nullptr;
    QLabel* summary_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* empty_ = nullptr;
    QChartView* daily_ = nullptr;
    QComboBox* exercises_ = nullptr;
    QChartView* times_ = nullptr;
    QTableWidget* exerciseTable_ = nullptr;
    QTableWidget* missedTable_ = nullptr;
    QLabel* status_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* factPage_ = nullptr;
    QLabel* nextStep_ = nullptr;
    QLabel* dueToday_ = nullptr;
    FactMapView* factMap_ = nullptr;
};

}  // namespace sumbrook
