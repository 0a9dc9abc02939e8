#include <QTemporaryDir>

#include "class_server.h"
#include "classroom/class_list.h"
#include "classroom/class_roster.h"
#include "classroom/class_schema.h"
#include "classroom/server_class_queries.h"
#include "support/qstring_printer.h"

namespace sumbrook::testing {
namespace {

// The teacher managing the class list through ServerClassQueries, seen from the teacher's
// window, the pupils' computers and the server.
class ClassManagement : public ClassServerTest {
  protected:
    void SetUp() override {
        ClassServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        logins_ = init(admin_);
        teacher_ =
            std::make_unique<ClassConnection>(*ConnectionString::parse(logins_.teacher, nullptr));
        ASSERT_TRUE(teacher_->open()) << teacher_->error().toStdString();
        queries_ = std::make_unique<ServerClassQueries>(teacher_->database());
    }

    // "number name" of each pupil a class computer offers.
    QStringList roster() {
        const ClassRoster offered =
            ClassRoster::read(*ConnectionString::parse(logins_.pupils, nullptr), folder_.path());
        QStringList listed;
        for (const ClassPupil& p : offered.pupils()) {
            listed << p.number + u' ' + p.name;
        }
        return listed;
    }

    // "number name" of each pupil of the teacher's list, "(已离开)" after those who left.
    QStringList teachersList() {
        QStringList listed;
        for (const ListedPupil& p : queries_->pupils()) {
            listed << p.pupil.number + u' ' + p.pupil.name +
                          (p.left ? QStringLiteral("(已离开)") : QString());
        }
        return listed;
    }

    int idOf(const QString& number) {
        for (const ListedPupil& p : queries_->pupils()) {
            if (p.pupil.number == number) {
                return p.id;
            }
        }
        return 0;
    }

    Logins logins_;
    QTemporaryDir folder_;
    std::unique_ptr<ClassConnection> teacher_;
    std::unique_ptr<ServerClassQueries> queries_;
};

TEST_F(ClassManagement, PupilsAreAddedRenamedMovedToLeftOrDeletedAndBroughtBackByAnImport) {
    for (const ClassPupil& p :
         {ClassPupil{"2", "李小红"}, ClassPupil{"10", "张伟"}, ClassPupil{"1", "王小明"}}) {
        EXPECT_GT(queries_->addPupil(p), 0) << p.number.toStdString();
    }
    // 10's computer sent an answer; 2 has none.
    ASSERT_EQ(exec(logins_.pupils, addAnswer("a0000000-0000-4000-8000-000000000001", "10")).error,
              QString());

    const struct {
        const char* step;
        std::function<bool()> act;
        bool done;
        QStringList teachers;
        QStringList pupils;
    } steps[] = {
        {"listed in the teacher's order",
         [] { return true; },
         true,
         {"1 王小明", "2 李小红", "10 张伟"},
         {"1 王小明", "2 李小红", "10 张伟"}},
        {"a number already on the list",
         [&] {
             return queries_->addPupil({"2", "赵六"}) != 0;
         },
         false,
         {"1 王小明", "2 李小红", "10 张伟"},
         {"1 王小明", "2 李小红", "10 张伟"}},
        {"renamed",
         [&] { return queries_->renamePupil(idOf("1"), " 王晓明 "); },
         true,
         {"1 王晓明", "2 李小红", "10 张伟"},
         {"1 王晓明", "2 李小红", "10 张伟"}},
        {"with recorded work: moved to 已离开",
         [&] { return queries_->removePupil(idOf("10")); },
         true,
         {"1 王晓明", "2 李小红", "10 张伟(已离开)"},
         {"1 王晓明", "2 李小红"}},
        {"without: deleted",
         [&] { return queries_->removePupil(idOf("2")); },
         true,
         {"1 王晓明", "10 张伟(已离开)"},
         {"1 王晓明"}},
        {"no such pupil",
         [&] { return queries_->removePupil(9999); },
         false,
         {"1 王晓明", "10 张伟(已离开)"},
         {"1 王晓明"}},
        {"a left pupil's computer still sends",
         [&] {
             return exec(logins_.pupils, addAnswer("a0000000-0000-4000-8000-000000000002", "10"))
                 .first.toBool();
         },
         true,
         {"1 王晓明", "10 张伟(已离开)"},
         {"1 王晓明"}},
        {"an import that names them again brings them back",
         [&] {
             QString error;
             QSqlDatabase db = teacher_->database();
             const auto imported =
                 ClassList::import(db, {{2, "10", "张伟"}, {3, "2", "李小红"}}, error);
             return imported && imported->added == 1 && imported->renamed == 1;
         },
         true,
         {"1 王晓明", "2 李小红", "10 张伟"},
         {"1 王晓明", "2 李小红", "10 张伟"}},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(step.act(), step.done) << step.step;
        EXPECT_EQ(queries_->readError().isEmpty(), step.done) << step.step;
        EXPECT_EQ(teachersList(), step.teachers) << step.step;
        EXPECT_EQ(roster(), step.pupils) << step.step;
    }
    EXPECT_EQ(exec(logins_.teacher, "SELECT count(*) FROM answers").first.toInt(), 2);
}

// A class made before pupils could leave takes the new step and keeps its pupils and work.
TEST_F(ClassManagement, AClassOfTheFirstVersionMigratesWithItsWork) {
    const QString admin = server_->createDatabase(database_ + "_v1");
    ClassConnection owner(*ConnectionString::parse(admin, nullptr));
    ASSERT_TRUE(owner.open());
    QSqlQuery query(owner.database());
    ASSERT_TRUE(query.exec("CREATE TABLE class_schema_version (version integer NOT NULL)"));
    ASSERT_TRUE(query.exec("INSERT INTO class_schema_version VALUES (1)"));
    for (const QString& statement : ClassSchema::steps().front().statements) {
        ASSERT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
    }
    ASSERT_TRUE(query.exec("INSERT INTO pupils (number, name) VALUES ('1', '王小明')"));
    const Logins again = init(admin);
    ASSERT_EQ(exec(again.pupils, addAnswer("a0000000-0000-4000-8000-000000000001", "1")).error,
              QString());
    EXPECT_EQ(exec(admin, "SELECT version FROM class_schema_version").first.toInt(),
              ClassSchema::latestVersion());
    EXPECT_EQ(exec(again.teacher, "SELECT name || \"left\" FROM pupils").first.toString(),
              "王小明false");
    EXPECT_EQ(exec(again.teacher, "SELECT remove_pupil(id) FROM pupils").first.toString(), "left");
}

}  // namespace
}  // namespace sumbrook::testing
