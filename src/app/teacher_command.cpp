#include "teacher_command.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <cstdio>
#include <optional>

#include "classroom/class_connection.h"
#include "classroom/server_class_queries.h"
#include "classroom/server_pupil_queries.h"
#include "common/qt_translations.h"
#include "quit_on_signal.h"
#include "teacher/server_lesson_source.h"
#include "teacher/teacher_sign_in.h"
#include "teacher/teacher_window.h"
#include "worksheet/ui/sheet_fonts.h"

namespace sumbrook {

namespace {

std::optional<QString> askConnection(const QString& problem) {
    QInputDialog dialog;
    dialog.setWindowTitle(QStringLiteral("教师中心"));
    const QString prompt = QStringLiteral("请输入教师连接（class init 打印的 teacher: 一行）");
    dialog.setLabelText(problem.isEmpty() ? prompt : problem + QStringLiteral("\n\n") + prompt);
    // Hidden once typed: the line holds the teacher's password, and a projector may show it.
    dialog.setTextEchoMode(QLineEdit::PasswordEchoOnEdit);
    dialog.resize(640, dialog.height());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // What the class init printed may come whole, "teacher: " and all.
    QString text = dialog.textValue().trimmed();
    if (text.startsWith(QStringLiteral("teacher:"))) {
        text = text.mid(8).trimmed();
    }
    return text;
}

}  // namespace

int runTeacherCommand(int argc, char* argv[], const QStringList& arguments) {
    std::optional<QString> given;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--connect") && i + 1 < arguments.size()) {
            given = arguments[++i];
        } else if (a.startsWith(QStringLiteral("--connect="))) {
            given = a.mid(10);
        } else {
            std::fprintf(stderr,
                         "sumbrook teacher: unknown argument '%s' (try 'sumbrook --help')\n",
                         a.toLocal8Bit().constData());
            return 2;
        }
    }

    QApplication app(argc, argv);
    QtTranslations::install(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("sumbrook-teacher"));
    QuitOnSignal quitOnSignal;
    SheetFonts::install();

    TeacherSignIn signIn(TeacherLogin(), askConnection, [](const QString& line) {
        std::fprintf(stderr, "sumbrook teacher: %s\n", line.toLocal8Bit().constData());
    });
    const std::optional<ConnectionString> where = signIn.signIn(given);
    if (!where) {
        return 1;
    }
    ClassConnection connection(*where);
    if (!connection.open()) {
        std::fprintf(stderr, "sumbrook teacher: %s\n",
                     connection.error().toLocal8Bit().constData());
        return 1;
    }
    ServerClassQueries queries(connection.database());
    ServerPupilQueries pupils(connection.database());
    TeacherWindow window(queries, pupils, serverLessonSource(*where));
    window.show();
    return QApplication::exec();
}

}  // namespace sumbrook
