#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace sumbrook::testing {

// A throwaway PostgreSQL server for one test suite, started and stopped by
// scripts/pg-test-server in a temporary folder: a Unix socket only, a superuser with a
// password. Where the machine has no PostgreSQL the tests skip with the reason, except
// under CI, where they fail.
class PgTestServer {
  public:
    // Exit status of the script when the machine has no PostgreSQL server.
    static constexpr int kNoPostgres = 3;

    bool start() {
        folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pg-XXXXXX"));
        // The server runs as the postgres user when the tests run as root.
        QFile::setPermissions(folder_->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ExeGroup |
                                                   QFile::ExeOther);
        QProcess script;
        script.start(QStringLiteral(PG_TEST_SERVER), {QStringLiteral("start"), directory()});
        if (!script.waitForFinished(120000)) {
            reason_ = QStringLiteral("pg-test-server start did not end");
            return false;
        }
        connInfo_ = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
        reason_ = QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        missing_ = script.exitCode() == kNoPostgres;
        running_ = script.exitCode() == 0;
        if (running_ && !QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
            reason_ = QStringLiteral("Qt's PostgreSQL driver is not installed (libqt6sql6-psql)");
            missing_ = true;
        }
        return running_ && !missing_;
    }

    void stop() {
        if (running_) {
            QProcess::execute(QStringLiteral(PG_TEST_SERVER),
                              {QStringLiteral("stop"), directory()});
            running_ = false;
        }
        folder_.reset();
    }

    // The server stopped as by a crash, and started again with its data as left.
    bool crash() {
        return QProcess::execute(QStringLiteral(PG_TEST_SERVER),
                                 {QStringLiteral("crash"), directory()}) == 0;
    }
    bool resume() {
        return QProcess::execute(QStringLiteral(PG_TEST_SERVER),
                                 {QStringLiteral("resume"), directory()}) == 0;
    }

    bool ready() const { return running_ && !missing_; }
    bool missing() const { return missing_; }
    QString reason() const { return reason_; }
    QString directory() const { return folder_->filePath(QStringLiteral("s")); }
    // The superuser's key=value string, on the database "postgres".
    QString connInfo() const { return connInfo_; }
    QString password() const { return connInfo_.section(QStringLiteral("password="), 1); }

    // A fresh database, and the superuser's connection string to it.
    QString createDatabase(const QString& name) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kAdmin);
            db.setHostName(directory());
            db.setDatabaseName(QStringLiteral("postgres"));
            db.setUserName(QStringLiteral("sumbrook"));
            db.setPassword(password());
            EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
                << query.lastError().text().toStdString();
            db.close();
        }
        QSqlDatabase::removeDatabase(kAdmin);
        return QString(connInfo_).replace(QStringLiteral("dbname=postgres"),
                                          QStringLiteral("dbname=") + name);
    }

  private:
    static constexpr const char* kAdmin = "pg-test-server-admin";

    std::unique_ptr<QTemporaryDir> folder_;
    QString connInfo_;
    QString reason_;
    bool running_ = false;
    bool missing_ = false;
};

inline bool onCi() {
    return qgetenv("CI") == "true";
}

}  // namespace sumbrook::testing

// In a fixture's SetUp: skips the test where the machine lacks PostgreSQL, fails it under
// CI or when the server would not start.
#define SUMBROOK_NEED_POSTGRES(server)                                                          \
    do {                                                                                        \
        if (!(server).ready()) {                                                                \
            if ((server).missing() && !::sumbrook::testing::onCi()) {                           \
                GTEST_SKIP() << "no PostgreSQL here: " << (server).reason().toStdString();      \
            }                                                                                   \
            FAIL() << "no PostgreSQL server for the test: " << (server).reason().toStdString(); \
        }                                                                                       \
    } while (false)
