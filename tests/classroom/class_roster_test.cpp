// The class list a class computer shows: from the server, from the kept copy with the
// server stopped, then from nothing.
#include "classroom/class_roster.h"

#include <QFile>
#include <QTemporaryDir>

#include "class_server.h"
#include "support/said_messages.h"

namespace sumbrook::testing {
namespace {

QString numbers(const ClassRoster& roster) {
    QStringList said;
    for (const ClassPupil& pupil : roster.pupils()) {
        said << pupil.number + u' ' + pupil.name;
    }
    return said.join(QStringLiteral(", "));
}

TEST(ClassRosterOrder, NumbersGoAsATeacherCountsThem) {
    const struct {
        const char* a;
        const char* b;
        bool before;
    } rows[] = {
        {"2", "10", true},
        {"10", "2", false},
        {"09", "10", true},
        {"2024009", "2024010", true},
        {"A2", "A10", true},
        {"A10", "B1", true},
        {"7", "07", false},  // the same value: kept apart by text, so the order is stable
        {"99999999999999999999999", "100000000000000000000000", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ClassRoster::numberBefore(QString::fromUtf8(row.a), QString::fromUtf8(row.b)),
                  row.before)
            << row.a << " before " << row.b;
    }
}

class ClassRosterRead : public ClassServerTest {};

TEST_F(ClassRosterRead, FromTheServerThenItsKeptCopyThenNothing) {
    const QString pupils = init(admin_).pupils;
    ASSERT_TRUE(exec(admin_,
                     "INSERT INTO pupils (number, name) VALUES"
                     " ('10', '郑佳琪'), ('2', '李思雨'), ('1', '王小明')")
                    .error.isEmpty());
    const ConnectionString where = *ConnectionString::parse(pupils, nullptr);
    ConnectionString elsewhere = where;
    elsewhere.set(QStringLiteral("dbname"), QStringLiteral("class_other"));
    const QString password = where.value(QStringLiteral("password"));
    QTemporaryDir data;
    const QString list = QStringLiteral("1 王小明, 2 李思雨, 10 郑佳琪");

    const struct {
        const char* what;
        std::function<void()> before;
        const ConnectionString* login;
        ClassRoster::Source source;
        QString pupils;
        int said;  // lines on "sumbrook.class"
        const char* reason;
    } rows[] = {
        {"the server", [] {}, &where, ClassRoster::Source::Server, list, 0, ""},
        {"the server stopped", [] { server_->stop(); }, &where, ClassRoster::Source::Cache, list, 1,
         ""},
        {"another class's login", [] {}, &elsewhere, ClassRoster::Source::None, "", 1,
         "连不上班级的服务器"},
        {"the kept copy gone",
         [&] { QFile::remove(data.filePath(QLatin1String(ClassRoster::kCacheFileName))); }, &where,
         ClassRoster::Source::None, "", 1, "连不上班级的服务器"},
    };
    for (const auto& row : rows) {
        row.before();
        SaidMessages said;
        const ClassRoster roster = ClassRoster::read(*row.login, data.path());
        EXPECT_EQ(roster.source(), row.source) << row.what;
        EXPECT_EQ(numbers(roster), row.pupils) << row.what;
        const QString reason = QString::fromUtf8(row.reason);
        EXPECT_TRUE(reason.isEmpty() ? roster.reason().isEmpty()
                                     : roster.reason().startsWith(reason))
            << row.what << ": " << roster.reason().toStdString();
        EXPECT_EQ(said.lines().filter(QStringLiteral("sumbrook.class: ")).size(), row.said)
            << row.what << ": " << said.lines().join(u'\n').toStdString();
        EXPECT_FALSE(said.lines().join(u'\n').contains(password)) << row.what;
        EXPECT_FALSE(roster.reason().contains(password)) << row.what;
    }
}

TEST(ClassRosterFind, ByNumberOrName) {
    QTemporaryDir data;
    QFile kept(data.filePath(QLatin1String(ClassRoster::kCacheFileName)));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write(QStringLiteral(R"({"class": "/nowhere/c as p", "pupils": [
        {"number": "07", "name": "王小明"}, {"number": "12", "name": "李思雨"}]})")
                   .toUtf8());
    kept.close();
    SaidMessages said;
    const ClassRoster roster = ClassRoster::read(
        *ConnectionString::parse(QStringLiteral("host=/nowhere dbname=c user=p"), nullptr),
        data.path());
    ASSERT_EQ(roster.source(), ClassRoster::Source::Cache);
    const struct {
        const char* wanted;
        const char* found;
    } rows[] = {{"7", "王小明"}, {"07", "王小明"}, {" 李思雨 ", "李思雨"},
                {"3", ""},       {"李", ""},       {"", ""}};
    for (const auto& row : rows) {
        const auto pupil = roster.find(QString::fromUtf8(row.wanted));
        EXPECT_EQ(pupil ? pupil->name : QString(), QString::fromUtf8(row.found)) << row.wanted;
    }
}

}  // namespace
}  // namespace sumbrook::testing
