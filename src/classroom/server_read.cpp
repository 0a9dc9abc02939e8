#include "server_read.h"

#include <QMutex>
#include <QSet>

#include "class_connection.h"
#include "class_log.h"

namespace sumbrook {

QString ServerRead::spanClause(const JournalSpan& span, QVariantList& values,
                               const QString& column) {
    QString clause;
    if (span.from.isValid()) {
        clause += QStringLiteral(" AND %1 >= ?").arg(column);
        values.append(span.from.toMSecsSinceEpoch());
    }
    if (span.to.isValid()) {
        clause += QStringLiteral(" AND %1 < ?").arg(column);
        values.append(span.to.toMSecsSinceEpoch());
    }
    return clause;
}

bool ServerRead::run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values.at(i));
    }
    return query.exec();
}

QString ServerRead::refused(const QSqlError& why) {
    return QStringLiteral("the class's server refused the change: %1")
        .arg(ClassConnection::oneLine(why.databaseText().isEmpty() ? why.text()
                                                                   : why.databaseText()));
}

QString ServerRead::failed(const QSqlError& why) {
    static QMutex saidLock;
    static QSet<QString> said;
    const QString reason =
        ClassConnection::oneLine(why.databaseText().isEmpty() ? why.text() : why.databaseText());
    const QString line = QStringLiteral("the class's server did not answer: %1").arg(reason);
    const QMutexLocker locker(&saidLock);
    if (!said.contains(line)) {
        said.insert(line);
        qCWarning(classLog).noquote()
            << QStringLiteral("%1; the teacher's window shows nothing for it").arg(line);
    }
    return line;
}

}  // namespace sumbrook
