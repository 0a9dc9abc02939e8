#include "parent_window_command.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include "common/qt_translations.h"
#include "journal/practice_journal.h"
#include "parent/parent_centre_window.h"
#include "parent/practice_journal_queries.h"
#include "parent_command.h"
#include "quit_on_signal.h"
#include "worksheet/ui/sheet_fonts.h"

namespace sumbrook {

namespace {

bool wantsExport(const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (a == QStringLiteral("--export-csv") || a.startsWith(QStringLiteral("--export-csv="))) {
            return true;
        }
    }
    return false;
}

}  // namespace

int runParentWindowCommand(int argc, char* argv[], const QStringList& arguments) {
    if (wantsExport(arguments)) {
        // The export needs no screen.
        QCoreApplication app(argc, argv);
        return runParentCommand(arguments, stdout, stderr);
    }
    QApplication app(argc, argv);
    // The mistakes sheet's print preview and page setup speak Chinese, as Quizwright's do.
    QtTranslations::install(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("sumbrook-parent"));
    QuitOnSignal quitOnSignal;
    SheetFonts::install();
    return runParentCommand(arguments, stdout, stderr,
                            [](const CommandOptions&, PracticeJournal& journal, int childId) {
                                PracticeJournalQueries queries(journal);
                                ParentCentreWindow window(queries);
                                if (childId != window.childId()) {
                                    window.chooseChild(childId);
                                }
                                window.show();
                                const int status = QApplication::exec();
                                journal.waitForWrites();
                                return status;
                            });
}

}  // namespace sumbrook
