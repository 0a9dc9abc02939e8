#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include "classroom/class_roles.h"
#include "classroom/class_schema.h"
#include "classroom/class_server.h"
#include "classroom/teacher_login.h"

namespace sumbrook::testing {
namespace {

// `sumbrook class sheets` and `sumbrook class report` over a throwaway class server: a few
// pupils imported with the teacher's kept connection, their answers sent as the pupils'
// computers send them.
class ClassPrintCommand : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        logins_ = init(admin_);
        // The kept connection is looked for in this user's configuration folder.
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        ASSERT_TRUE(TeacherLogin(QDir(config_.path()).filePath("sumbrook"))
                        .keep(*ConnectionString::parse(logins_.teacher, nullptr)));
        QFile list(folder_.filePath("名单.csv"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(QStringLiteral("学号,姓名\n01,王小明\n02,李丽\n03,陈晨\n04,赵一\n").toUtf8());
        list.close();
        const Outcome imported = runSumbrook({"class", "pupils", "import", list.fileName()});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    // A two-number sum `a sign b` answered by pupil `number` an hour ago.
    void answer(const QString& number, int a, char sign, int b, bool right, int minutesAgo = 60) {
        const QDateTime at = QDateTime::currentDateTime().addSecs(-60 * minutesAgo);
        const int result = sign == '+' ? a + b : a - b;
        const QString shown = QStringLiteral("%1 %2 %3 = □")
                                  .arg(a)
                                  .arg(sign == '+' ? QStringLiteral("+") : QStringLiteral("−"))
                                  .arg(b);
        const Answer sent = exec(
            logins_.pupils,
            QStringLiteral("SELECT add_answer('%1', '%2', 'seat-1', %3, '%4', %5, '%6', '%7', "
                           "'%8', %9, 4000, 'two-number', '%10,%11,%12', '%13', 2, NULL, NULL, "
                           "NULL, NULL, NULL, '%10%13%11=[%12]', false)")
                .arg(QUuid::createUuid().toString(QUuid::WithoutBraces), number)
                .arg(at.toMSecsSinceEpoch())
                .arg(at.date().toString(Qt::ISODate))
                .arg(sign == '+' ? 11 : 12)
                .arg(shown)
                .arg(result)
                .arg(right ? result : result + 1)
                .arg(right ? QStringLiteral("true") : QStringLiteral("false"))
                .arg(a)
                .arg(b)
                .arg(result)
                .arg(QChar::fromLatin1(sign)));
        ASSERT_TRUE(sent.error.isEmpty()) << sent.error.toStdString();
    }

    QByteArray pdfBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir config_;
    QTemporaryDir folder_;
    Logins logins_;
};

TEST_F(ClassPrintCommand, WritesEachPupilsSheetsAndTheWeeksReport) {
    answer("01", 7, '+', 8, false);
    answer("01", 6, '+', 9, false);
    answer("02", 12, '-', 5, false);
    answer("02", 3, '+', 4, true);
    answer("03", 2, '+', 2, true);

    const QString sheets = folder_.filePath("sheets.pdf");
    const Outcome made = runSumbrook({"class", "sheets", "--pdf", sheets});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    ASSERT_EQ(made.lines.size(), 4);
    EXPECT_TRUE(made.lines[0].startsWith("01 王小明: 2 missed")) << made.lines[0].toStdString();
    EXPECT_TRUE(made.lines[1].startsWith("02 李丽: 1 missed")) << made.lines[1].toStdString();
    EXPECT_EQ(made.lines[2], "no mistakes in the last 7 days: 03 陈晨, 04 赵一");
    EXPECT_TRUE(pdfBytes(sheets).contains("/Count 4"));  // two sheets, two keys

    const QString report = folder_.filePath("report.pdf");
    const Outcome reported =
        runSumbrook({"class", "report", "--week", "--pdf", report, "--connect", logins_.teacher});
    ASSERT_EQ(reported.exitCode, 0) << reported.err.toStdString();
    EXPECT_TRUE(pdfBytes(report).contains("/Count 2"));  // the table; the heat map and facts
    // SUMBROOK_SHOT_DIR keeps the files there, to look at.
    if (const QByteArray dir = qgetenv("SUMBROOK_SHOT_DIR"); !dir.isEmpty()) {
        for (const QString& path : {sheets, report}) {
            const QString kept =
                QString::fromLocal8Bit(dir) + "/server-" + QFileInfo(path).fileName();
            QFile::remove(kept);
            QFile::copy(path, kept);
        }
    }
}

// A class that has not practised yet: no sheets to print, and a report that says so.
TEST_F(ClassPrintCommand, AClassWithoutPracticeGetsNoSheetsAndAnEmptyReport) {
    const QString sheets = folder_.filePath("sheets.pdf");
    const Outcome made = runSumbrook({"class", "sheets", "--days", "30", "--pdf", sheets});
    EXPECT_EQ(made.exitCode, 1);
    EXPECT_TRUE(made.err.contains("no pupil missed a sum in the last 30 days"))
        << made.err.toStdString();
    EXPECT_FALSE(QFile::exists(sheets));

    const QString report = folder_.filePath("report.pdf");
    const Outcome reported = runSumbrook(
        {"class", "report", "--from", "2026-12-01", "--to", "2026-12-31", "--pdf", report});
    ASSERT_EQ(reported.exitCode, 0) << reported.err.toStdString();
    ASSERT_EQ(reported.lines.size(), 1);
    EXPECT_TRUE(reported.lines[0].startsWith("2026年12月1日—12月31日, 4 pupils"));
    EXPECT_TRUE(pdfBytes(report).contains("/Count 2"));
}

TEST_F(ClassPrintCommand, RefusesBadInputAndWrongLoginsWithOneLine) {
    answer("01", 7, '+', 8, false);
    const QString pdf = folder_.filePath("out.pdf");
    ConnectionString wrong = *ConnectionString::parse(logins_.teacher, nullptr);
    wrong.set("password", "not-the-password");
    const QTemporaryDir emptyConfig;
    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        const char* said;  // what the one line holds
        bool keptLogin = true;
        int schemaVersion = 0;  // the class database's version for the row; 0: as made
    } rows[] = {
        {"sheets without --pdf", {"sheets"}, 2, "--pdf FILE"},
        {"days of none", {"sheets", "--days", "0", "--pdf", pdf}, 2, "--days"},
        {"days not a number", {"sheets", "--days", "week", "--pdf", pdf}, 2, "--days"},
        {"an unknown option", {"sheets", "--pdf", pdf, "--colour"}, 2, "colour"},
        {"from without to", {"report", "--from", "2026-12-07", "--pdf", pdf}, 2, "--to"},
        {"week and from",
         {"report", "--week", "--from", "2026-12-07", "--to", "2026-12-13", "--pdf", pdf},
         2,
         "--week"},
        {"no such day",
         {"report", "--from", "2026-12-32", "--to", "2027-01-03", "--pdf", pdf},
         2,
         "2026-12-07"},
        {"not ISO",
         {"report", "--from", "7.12.2026", "--to", "2026-12-13", "--pdf", pdf},
         2,
         "2026-12-07"},
        {"to before from",
         {"report", "--from", "2026-12-13", "--to", "2026-12-07", "--pdf", pdf},
         2,
         "before"},
        {"report without --pdf", {"report", "--week"}, 2, "--pdf FILE"},
        {"not a connection string",
         {"sheets", "--pdf", pdf, "--connect", "colour=blue"},
         2,
         "connection string"},
        {"the pupils' login",
         {"sheets", "--pdf", pdf, "--connect", logins_.pupils},
         2,
         "pupils' connection"},
        {"the pupils' login",
         {"report", "--pdf", pdf, "--connect", logins_.pupils},
         2,
         "pupils' connection"},
        {"a password the server refuses",
         {"report", "--pdf", pdf, "--connect", wrong.toConnInfo()},
         1,
         ""},
        {"nothing kept, nothing given", {"sheets", "--pdf", pdf}, 2, "sumbrook teacher", false},
        {"nothing kept, nothing given", {"report", "--pdf", pdf}, 2, "sumbrook teacher", false},
        {"a class database not yet brought up to date",
         {"report", "--pdf", pdf},
         1,
         "run 'sumbrook class init' once",
         true,
         ClassSchema::latestVersion() - 1},
        {"a class database of a newer program",
         {"sheets", "--pdf", pdf},
         1,
         "install the newer Sumbrook",
         true,
         ClassSchema::latestVersion() + 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        qputenv("XDG_CONFIG_HOME", (row.keptLogin ? config_ : emptyConfig).path().toLocal8Bit());
        QStringList arguments{"class"};
        arguments += row.arguments;
        const auto setVersion = [this](int version) {
            ASSERT_EQ(
                exec(admin_,
                     QStringLiteral("UPDATE class_schema_version SET version = %1").arg(version))
                    .error,
                QString());
        };
        if (row.schemaVersion != 0) {
            setVersion(row.schemaVersion);
        }
        const Outcome run = runSumbrook(arguments);
        if (row.schemaVersion != 0) {
            setVersion(ClassSchema::latestVersion());
        }
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.lines.isEmpty());
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.said)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("not-the-password"));
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

}  // namespace
}  // namespace sumbrook::testing
