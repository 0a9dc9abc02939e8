#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "classroom/class_config.h"

namespace sumbrook {
namespace {

// Which class.conf a computer goes by: the user's, else the system's, else none.
TEST(ClassConfig, TheUsersFileWinsElseTheSystemsElseNotAClassComputer) {
    const std::optional<QByteArray> none;
    const QByteArray school = "host=school.lan dbname=class3 user=class3_pupils password=p\n";
    const struct {
        const char* what;
        std::optional<QByteArray> user;
        std::optional<QByteArray> system;
        QString host;  // empty: not a class computer
    } rows[] = {
        {"no file", none, none, ""},
        {"the system's only", none, school, "school.lan"},
        {"both", "postgresql://class3_pupils:p@lab-server/class3\n", school, "lab-server"},
        {"the user's unreadable as a connection string", "not a connection string", school,
         "school.lan"},
        {"an empty user's file alone", "", none, ""},
    };
    for (const auto& row : rows) {
        QTemporaryDir user;
        QTemporaryDir system;
        const auto write = [](const QTemporaryDir& dir, const std::optional<QByteArray>& bytes) {
            if (bytes) {
                QFile file(dir.filePath(QStringLiteral("class.conf")));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(*bytes);
            }
        };
        write(user, row.user);
        write(system, row.system);
        const std::optional<ConnectionString> where =
            ClassConfig(user.path(), system.path()).read();
        EXPECT_EQ(where ? where->value(QStringLiteral("host")) : QString(), row.host) << row.what;
    }
}

}  // namespace
}  // namespace sumbrook
