#pragma once

#include <gtest/gtest.h>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "classroom/class_connection.h"
#include "support/pg_test_server.h"
#include "support/run_sumbrook.h"

namespace sumbrook::testing {

// A fresh class database on a throwaway server for each test, and the administrator's
// connection string to it.
class ClassServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = new PgTestServer;
        server_->start();
    }
    static void TearDownTestSuite() {
        server_->stop();
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        SUMBROOK_NEED_POSTGRES(*server_);
        static int databases = 0;
        database_ = QStringLiteral("class_%1").arg(++databases);
        admin_ = server_->createDatabase(database_);
    }

    struct Logins {
        QString pupils;
        QString teacher;
    };

    // `sumbrook class init` with this string: the two logins it printed.
    static Logins init(const QString& admin) {
        const Outcome run = runSumbrook({"class", "init", admin});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.lines.size(), 2);
        if (run.lines.size() != 2) {
            return {};
        }
        return {QString::fromUtf8(run.lines[0]).section(QStringLiteral("pupils: "), 1),
                QString::fromUtf8(run.lines[1]).section(QStringLiteral("teacher: "), 1)};
    }

    struct Answer {
        QString error;   // the server's, empty when the statement was done
        QVariant first;  // the first column of the first row
    };

    // One statement on its own connection of that login.
    static Answer exec(const QString& login, const QString& statement) {
        ClassConnection connection(*ConnectionString::parse(login, nullptr));
        if (!connection.open()) {
            return {connection.error(), {}};
        }
        QSqlQuery query(connection.database());
        if (!query.exec(statement)) {
            return {query.lastError().databaseText(), {}};
        }
        return {QString(), query.next() ? query.value(0) : QVariant()};
    }

    static inline PgTestServer* server_ = nullptr;
    QString database_;
    QString admin_;
};

// A call of add_answer for one pupil number: 7 + 8 answered right in 3.2 s.
inline QString addAnswer(const QString& guid, const QString& number, qint64 atMs = 1709280000000,
                         bool right = true, bool review = false) {
    return QStringLiteral(
               "SELECT add_answer('%1', '%2', 'seat-3', %3, '2024-03-01', 4,"
               " '7 + 8 = □', '15', '%4', %5, 3200, 'sum', '7,8,15', '+,=', 2,"
               " NULL, NULL, NULL, NULL, NULL, '7+8', %6)")
        .arg(guid, number)
        .arg(atMs)
        .arg(right ? QStringLiteral("15") : QStringLiteral("14"),
             right ? QStringLiteral("true") : QStringLiteral("false"),
             review ? QStringLiteral("true") : QStringLiteral("false"));
}

}  // namespace sumbrook::testing
