#include <QStringEncoder>
#include <QTemporaryDir>

#include "class_server.h"

namespace sumbrook::testing {
namespace {

class PupilsImport : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        teacher_ = init(admin_).teacher;
    }

    Outcome import(const QByteArray& bytes) {
        const QString path = folder_.filePath(QStringLiteral("名单.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        return runSumbrook({"class", "pupils", "import", path, "--connect", teacher_});
    }

    QString classList() {
        return exec(teacher_,
                    "SELECT string_agg(number || ' ' || name, ', ' ORDER BY number)"
                    " FROM pupils")
            .first.toString();
    }

    QTemporaryDir folder_;
    QString teacher_;
};

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder(text);
}

TEST_F(PupilsImport, AddsNewPupilsAndRenamesKnownOnesFromUtf8OrGbk) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString summary;
        QString classList;
    } rows[] = {
        {"UTF-8 with a BOM, CR LF",
         "\xEF\xBB\xBF" +
             QStringLiteral("学号,姓名\r\n2024001,王小明\r\n2024002,李华\r\n").toUtf8(),
         "2 added, 0 renamed, 0 unchanged", "2024001 王小明, 2024002 李华"},
        {"GBK", gbk(QStringLiteral("学号,姓名\n2024003,张三\n2024002,李华\n")),
         "1 added, 0 renamed, 1 unchanged", "2024001 王小明, 2024002 李华, 2024003 张三"},
        {"UTF-8, a rename, quotes and a blank line",
         QStringLiteral("学号 , 姓名\n\n\"2024001\",\"王晓明\"\n").toUtf8(),
         "0 added, 1 renamed, 0 unchanged", "2024001 王晓明, 2024002 李华, 2024003 张三"},
    };
    for (const auto& row : rows) {
        const Outcome run = import(row.bytes);
        EXPECT_EQ(run.exitCode, 0) << row.what << ": " << run.err.toStdString();
        ASSERT_EQ(run.lines.size(), 1) << row.what;
        EXPECT_TRUE(QString::fromUtf8(run.lines[0]).endsWith(row.summary))
            << row.what << ": " << run.lines[0].toStdString();
        EXPECT_EQ(classList(), row.classList) << row.what;
    }
}

// Each bad row is named on a line of its own, and not one pupil of the list is taken.
TEST_F(PupilsImport, RefusesAListWithABadRowWhole) {
    const QString longName(65, u'张');
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList said;
    } rows[] = {
        {"bad rows among good ones",
         QStringLiteral("学号,姓名\n2024001,王小明\n,李华\n2024003,\n2024001,张三\n2024005,%1\n"
                        "2024006,赵六,三班\n")
             .arg(longName)
             .toUtf8(),
         {"row 3: no 学号", "row 4: 学号 2024003 has no 姓名",
          "row 5: 学号 2024001 is already on row 2", "row 6: 姓名 longer than 64 characters",
          "row 7: more than the two columns 学号,姓名"}},
        {"no header",
         QStringLiteral("2024001,王小明\n").toUtf8(),
         {"row 1: the first row must be the header 学号,姓名"}},
    };
    for (const auto& row : rows) {
        const Outcome run = import(row.bytes);
        EXPECT_EQ(run.exitCode, 2) << row.what;
        const QStringList lines = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), row.said.size()) << row.what << ": " << run.err.toStdString();
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(lines[i].endsWith(row.said[i])) << lines[i].toStdString();
        }
        EXPECT_EQ(classList(), QString()) << row.what;
    }
}

}  // namespace
}  // namespace sumbrook::testing
