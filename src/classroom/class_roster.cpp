#include "class_roster.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

#include "class_connection.h"
#include "class_log.h"

namespace sumbrook {

namespace {

// Far more than any class; a bigger file is not one of ours.
constexpr qint64 kMaxCacheBytes = 4 * 1024 * 1024;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// <0, 0, >0 as `a` comes before, with or after `b`: runs of digits by their value (leading
// zeros aside, so they need not fit an integer), everything else character by character.
int compareNumbers(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            const auto run = [](QStringView s, qsizetype& at) {
                while (at < s.size() && s[at] == u'0' && at + 1 < s.size() &&
                       isAsciiDigit(s[at + 1])) {
                    ++at;
                }
                const qsizetype from = at;
                while (at < s.size() && isAsciiDigit(s[at])) {
                    ++at;
                }
                return s.mid(from, at - from);
            };
            const QStringView x = run(a, i);
            const QStringView y = run(b, j);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int c = x.compare(y); c != 0) {
                return c;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j] ? -1 : 1;
        }
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

// The class a kept list belongs to: server, database and login, never the password.
QString classOf(const ConnectionString& where) {
    return QStringLiteral("%1/%2 as %3")
        .arg(where.place(), where.value(QStringLiteral("dbname")),
             where.value(QStringLiteral("user")));
}

QString cachePath(const QString& dataDirectory) {
    return QDir(dataDirectory).filePath(QLatin1String(ClassRoster::kCacheFileName));
}

// The list the server gives, or nothing with `error` set.
std::optional<std::vector<ClassPupil>> readServer(ConnectionString where, QString& error) {
    if (where.value(QStringLiteral("connect_timeout")).isEmpty()) {
        where.set(QStringLiteral("connect_timeout"),
                  QString::number(ClassRoster::kConnectTimeoutSeconds));
    }
    ClassConnection connection(std::move(where));
    if (!connection.open()) {
        error = connection.error();
        return std::nullopt;
    }
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT number, name FROM pupils WHERE NOT \"left\""))) {
        error = QStringLiteral("the server at %1 did not give the class list: %2")
                    .arg(connection.where().place(),
                         ClassConnection::oneLine(query.lastError().databaseText()));
        return std::nullopt;
    }
    std::vector<ClassPupil> pupils;
    while (query.next()) {
        pupils.push_back({query.value(0).toString(), query.value(1).toString()});
    }
    return pupils;
}

// Empty when written; else why not.
QString writeCache(const QString& dataDirectory, const QString& place,
                   const std::vector<ClassPupil>& pupils) {
    QJsonArray list;
    for (const ClassPupil& pupil : pupils) {
        list.append(QJsonObject{{QStringLiteral("number"), pupil.number},
                                {QStringLiteral("name"), pupil.name}});
    }
    const QJsonObject root{
        {QStringLiteral("class"), place},
        {QStringLiteral("saved"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {QStringLiteral("pupils"), list}};
    if (!QDir().mkpath(dataDirectory)) {
        return QStringLiteral("the folder %1 cannot be made").arg(dataDirectory);
    }
    QSaveFile file(cachePath(dataDirectory));
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return file.commit() ? QString() : file.errorString();
}

struct Cached {
    std::vector<ClassPupil> pupils;
    QString saved;
};

// The kept list of this class, or nothing with `why` set.
std::optional<Cached> readCache(const QString& dataDirectory, const QString& place, QString& why) {
    QFile file(cachePath(dataDirectory));
    if (!file.exists()) {
        why = QStringLiteral("no class list is kept on this computer");
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCacheBytes) {
        why = QStringLiteral("the class list kept in %1 cannot be read").arg(file.fileName());
        return std::nullopt;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    if (root.value(QStringLiteral("class")).toString() != place) {
        // A computer moved to another class must not offer the old class's names.
        why = QStringLiteral("the class list kept on this computer is of another class");
        return std::nullopt;
    }
    Cached cached{{}, root.value(QStringLiteral("saved")).toString()};
    for (const QJsonValue& entry : root.value(QStringLiteral("pupils")).toArray()) {
        const QString number = entry[QStringLiteral("number")].toString();
        const QString name = entry[QStringLiteral("name")].toString();
        if (!number.isEmpty() && !name.isEmpty()) {
            cached.pupils.push_back({number, name});
        }
    }
    return cached;
}

}  // namespace

bool ClassRoster::numberBefore(const QString& a, const QString& b) {
    const int c = compareNumbers(a, b);
    return c != 0 ? c < 0 : a < b;
}

ClassRoster ClassRoster::read(const ConnectionString& where, const QString& dataDirectory) {
    ClassRoster roster;
    const QString place = classOf(where);
    QString serverError;
    if (auto pupils = readServer(where, serverError)) {
        roster.pupils_ = std::move(*pupils);
        roster.source_ = Source::Server;
        if (const QString why = writeCache(dataDirectory, place, roster.pupils_); !why.isEmpty()) {
            qCWarning(classLog).noquote()
                << QStringLiteral(
                       "the class list cannot be kept on this computer (%1); it is "
                       "used as the server gave it")
                       .arg(why);
        }
        if (roster.pupils_.empty()) {
            roster.reason_ = QStringLiteral("班级名单上还没有学生");
        }
    } else {
        QString cacheError;
        if (auto cached = readCache(dataDirectory, place, cacheError)) {
            qCWarning(classLog).noquote()
                << QStringLiteral("%1; the class list kept on this computer (%2) is used")
                       .arg(serverError, cached->saved);
            roster.pupils_ = std::move(cached->pupils);
            roster.source_ = Source::Cache;
            if (roster.pupils_.empty()) {
                roster.reason_ = QStringLiteral("班级名单上还没有学生");
            }
        } else {
            qCWarning(classLog).noquote()
                << QStringLiteral("%1; %2: no pupil can be chosen").arg(serverError, cacheError);
            roster.reason_ = QStringLiteral(
                                 "连不上班级的服务器，这台电脑上也没有存着名单。请老师看一看。\n"
                                 "（%1）")
                                 .arg(serverError);
        }
    }
    roster.sortByNumber();
    return roster;
}

ClassRoster ClassRoster::kept(const ConnectionString& where, const QString& dataDirectory) {
    ClassRoster roster;
    QString why;
    if (auto cached = readCache(dataDirectory, classOf(where), why)) {
        roster.pupils_ = std::move(cached->pupils);
        roster.source_ = Source::Cache;
        roster.sortByNumber();
    }
    return roster;
}

void ClassRoster::sortByNumber() {
    std::stable_sort(pupils_.begin(), pupils_.end(), [](const ClassPupil& a, const ClassPupil& b) {
        return numberBefore(a.number, b.number);
    });
}

std::optional<ClassPupil> ClassRoster::find(const QString& numberOrName) const {
    const QString wanted = numberOrName.trimmed();
    if (wanted.isEmpty()) {
        return std::nullopt;
    }
    for (const ClassPupil& pupil : pupils_) {
        if (compareNumbers(pupil.number, wanted) == 0) {
            return pupil;
        }
    }
    for (const ClassPupil& pupil : pupils_) {
        if (pupil.name == wanted) {
            return pupil;
        }
    }
    return std::nullopt;
}

}  // namespace sumbrook
