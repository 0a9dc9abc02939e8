#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>

namespace sumbrook::testing {

struct Outcome {
    int exitCode = -1;
    QList<QByteArray> lines;  // stdout, one entry per line
    QByteArray err;
};

// Runs the built program with these arguments and waits for it to end.
inline Outcome runSumbrook(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SUMBROOK_BINARY), arguments);
    Outcome run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "sumbrook did not end normally: " << arguments.join(u' ').toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    QByteArray out = process.readAllStandardOutput();
    if (!out.isEmpty()) {
        EXPECT_TRUE(out.endsWith('\n'));
        out.chop(1);
        run.lines = out.split('\n');
    }
    run.err = process.readAllStandardError();
    return run;
}

inline QJsonObject jsonObject(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    EXPECT_TRUE(document.isObject()) << line.toStdString();
    return document.object();
}

}  // namespace sumbrook::testing
