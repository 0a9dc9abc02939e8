#include "connection_string.h"

#include <QByteArray>
#include <QFile>
#include <QSet>
#include <QStringList>

namespace sumbrook {

namespace {

// Every key libpq 15 takes.
const QSet<QString>& knownKeys() {
    static const QSet<QString> kKeys{"host",
                                     "hostaddr",
                                     "port",
                                     "dbname",
                                     "user",
                                     "password",
                                     "passfile",
                                     "channel_binding",
                                     "connect_timeout",
                                     "client_encoding",
                                     "options",
                                     "application_name",
                                     "fallback_application_name",
                                     "keepalives",
                                     "keepalives_idle",
                                     "keepalives_interval",
                                     "keepalives_count",
                                     "tcp_user_timeout",
                                     "gssencmode",
                                     "sslmode",
                                     "requiressl",
                                     "sslcompression",
                                     "sslcert",
                                     "sslkey",
                                     "sslpassword",
                                     "sslrootcert",
                                     "sslcrl",
                                     "sslcrldir",
                                     "sslsni",
                                     "requirepeer",
                                     "ssl_min_protocol_version",
                                     "ssl_max_protocol_version",
                                     "krbsrvname",
                                     "gsslib",
                                     "service",
                                     "target_session_attrs"};
    return kKeys;
}

// Keys with a QSqlDatabase setting of their own; the rest go in as connect options.
const QStringList& ownSettings() {
    static const QStringList kOwn{"host", "port", "dbname", "user", "password"};
    return kOwn;
}

// A server that does not answer is given up after this many seconds, not libpq's
// unbounded wait.
constexpr int kDefaultConnectTimeout = 10;

bool validPort(const QString& port) {
    bool ok = false;
    const int n = port.toInt(&ok);
    return ok && n >= 1 && n <= 65535 && !port.startsWith(u'+');
}

// Percent-decoded as UTF-8; nothing for a '%' not followed by two hex digits.
std::optional<QString> decoded(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && (i + 2 >= bytes.size() || !std::isxdigit(bytes[i + 1]) ||
                                !std::isxdigit(bytes[i + 2]))) {
            return std::nullopt;
        }
    }
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

QString quoted(const QString& value) {
    const bool plain = !value.isEmpty() && !value.contains(u' ') && !value.contains(u'\'') &&
                       !value.contains(u'\\') && !value.contains(u'\t') && !value.contains(u'\n');
    if (plain) {
        return value;
    }
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

class Reader {
  public:
    explicit Reader(QString* error) : error_(error) {}

    bool add(QList<QPair<QString, QString>>& entries, const QString& key, const QString& value) {
        if (!knownKeys().contains(key)) {
            return fail(QStringLiteral("unknown connection setting '%1'").arg(key));
        }
        if (key == QStringLiteral("port") && !validPort(value)) {
            return fail(QStringLiteral("the port must be a number from 1 to 65535"));
        }
        // Qt's driver joins its connect options with ';'.
        if (!ownSettings().contains(key) && value.contains(u';')) {
            return fail(QStringLiteral("the value of '%1' cannot hold ';'").arg(key));
        }
        for (auto& entry : entries) {
            if (entry.first == key) {
                entry.second = value;
                return true;
            }
        }
        entries.append({key, value});
        return true;
    }

    bool fail(const QString& why) {
        if (error_ != nullptr) {
            *error_ = why;
        }
        return false;
    }

    // key = value pairs apart by white space; values plain or in single quotes, a
    // backslash taking the next character as it is.
    bool readPairs(const QString& text, QList<QPair<QString, QString>>& entries) {
        qsizetype i = 0;
        const qsizetype n = text.size();
        const auto skipSpace = [&] {
            while (i < n && text[i].isSpace()) {
                ++i;
            }
        };
        for (;;) {
            skipSpace();
            if (i >= n) {
                return true;
            }
            QString key;
            while (i < n && !text[i].isSpace() && text[i] != u'=') {
                key += text[i++];
            }
            skipSpace();
            if (i >= n || text[i] != u'=') {
                return fail(QStringLiteral("'%1' has no '=' after it").arg(key));
            }
            ++i;
            skipSpace();
            QString value;
            if (i < n && text[i] == u'\'') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (text[i] == u'\\' && i + 1 < n) {
                        value += text[i + 1];
                        i += 2;
                    } else if (text[i] == u'\'') {
                        ++i;
                        closed = true;
                        break;
                    } else {
                        value += text[i++];
                    }
                }
                if (!closed) {
                    return fail(QStringLiteral("the value of '%1' has no closing quote").arg(key));
                }
            } else {
                while (i < n && !text[i].isSpace()) {
                    if (text[i] == u'\\' && i + 1 < n) {
                        ++i;
                    }
                    value += text[i++];
                }
            }
            if (key.isEmpty()) {
                return fail(QStringLiteral("a setting has no name before its '='"));
            }
            if (!add(entries, key, value)) {
                return false;
            }
        }
    }

    // postgresql://[user[:password]@][host][:port][/dbname][?key=value&...]
    bool readUri(const QString& rest, QList<QPair<QString, QString>>& entries) {
        const qsizetype end = [&] {
            const qsizetype slash = rest.indexOf(u'/');
            const qsizetype question = rest.indexOf(u'?');
            if (slash < 0) {
                return question < 0 ? rest.size() : question;
            }
            return question < 0 ? slash : std::min(slash, question);
        }();
        QString authority = rest.left(end);
        QString tail = rest.mid(end);

        const qsizetype at = authority.lastIndexOf(u'@');
        if (at >= 0) {
            const QString userInfo = authority.left(at);
            authority = authority.mid(at + 1);
            const qsizetype colon = userInfo.indexOf(u':');
            const auto user = decoded(colon < 0 ? userInfo : userInfo.left(colon));
            const auto password = decoded(colon < 0 ? QString() : userInfo.mid(colon + 1));
            if (!user || !password) {
                return fail(
                    QStringLiteral("the user part has a '%' not followed by two hex digits"));
            }
            if (!user->isEmpty() && !add(entries, QStringLiteral("user"), *user)) {
                return false;
            }
            if (colon >= 0 && !add(entries, QStringLiteral("password"), *password)) {
                return false;
            }
        }
        if (authority.contains(u',')) {
            return fail(QStringLiteral("only one server host can be given"));
        }
        QString host = authority;
        QString port;
        if (authority.startsWith(u'[')) {
            const qsizetype close = authority.indexOf(u']');
            if (close < 0) {
                return fail(QStringLiteral("the host's '[' has no ']'"));
            }
            host = authority.mid(1, close - 1);
            const QString after = authority.mid(close + 1);
            if (!after.isEmpty() && !after.startsWith(u':')) {
                return fail(QStringLiteral("unexpected text after the host's ']'"));
            }
            port = after.mid(1);
        } else if (const qsizetype colon = authority.indexOf(u':'); colon >= 0) {
            host = authority.left(colon);
            port = authority.mid(colon + 1);
        }
        const auto hostText = decoded(host);
        if (!hostText) {
            return fail(QStringLiteral("the host has a '%' not followed by two hex digits"));
        }
        if (!hostText->isEmpty() && !add(entries, QStringLiteral("host"), *hostText)) {
            return false;
        }
        if (authority.contains(u':') && !add(entries, QStringLiteral("port"), port)) {
            return false;
        }

        if (tail.startsWith(u'/')) {
            const qsizetype question = tail.indexOf(u'?');
            const auto dbname = decoded(tail.mid(1, question < 0 ? -1 : question - 1));
            if (!dbname) {
                return fail(
                    QStringLiteral("the database name has a '%' not followed by two hex digits"));
            }
            if (!dbname->isEmpty() && !add(entries, QStringLiteral("dbname"), *dbname)) {
                return false;
            }
            tail = question < 0 ? QString() : tail.mid(question);
        }
        if (tail.startsWith(u'?')) {
            for (const QString& pair : tail.mid(1).split(u'&', Qt::SkipEmptyParts)) {
                const qsizetype equals = pair.indexOf(u'=');
                const auto key = decoded(pair.left(equals));
                const auto value = decoded(equals < 0 ? QString() : pair.mid(equals + 1));
                if (equals < 0) {
                    return fail(QStringLiteral("'%1' has no '=' after it").arg(pair));
                }
                if (!key || !value) {
                    return fail(
                        QStringLiteral("a setting has a '%' not followed by two hex digits"));
                }
                if (!add(entries, *key, *value)) {
                    return false;
                }
            }
        }
        return true;
    }

  private:
    QString* error_;
};

}  // namespace

std::optional<ConnectionString> ConnectionString::parse(const QString& text, QString* error) {
    Reader reader(error);
    ConnectionString result;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        reader.fail(QStringLiteral("no connection string given"));
        return std::nullopt;
    }
    static const QString kSchemes[] = {QStringLiteral("postgresql://"),
                                       QStringLiteral("postgres://")};
    for (const QString& scheme : kSchemes) {
        if (trimmed.startsWith(scheme, Qt::CaseInsensitive)) {
            if (!reader.readUri(trimmed.mid(scheme.size()), result.entries_)) {
                return std::nullopt;
            }
            return result;
        }
    }
    if (trimmed.contains(QStringLiteral("://"))) {
        reader.fail(QStringLiteral("a URI must begin with postgresql://"));
        return std::nullopt;
    }
    if (!reader.readPairs(trimmed, result.entries_)) {
        return std::nullopt;
    }
    return result;
}

QString ConnectionString::value(const QString& key) const {
    for (const auto& entry : entries_) {
        if (entry.first == key) {
            return entry.second;
        }
    }
    return {};
}

void ConnectionString::set(const QString& key, const QString& value) {
    for (auto& entry : entries_) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    entries_.append({key, value});
}

void ConnectionString::remove(const QString& key) {
    entries_.removeIf([&](const auto& entry) { return entry.first == key; });
}

QString ConnectionString::toConnInfo() const {
    QStringList pairs;
    for (const auto& entry : entries_) {
        pairs.append(entry.first + u'=' + quoted(entry.second));
    }
    return pairs.join(u' ');
}

QString ConnectionString::place() const {
    const QString host = value(QStringLiteral("host"));
    const QString port = value(QStringLiteral("port"));
    const QString shownHost = host.isEmpty() ? QStringLiteral("localhost") : host;
    return port.isEmpty() ? shownHost : shownHost + u':' + port;
}

void ConnectionString::applyTo(QSqlDatabase& db) const {
    db.setHostName(value(QStringLiteral("host")));
    const QString port = value(QStringLiteral("port"));
    db.setPort(port.isEmpty() ? -1 : port.toInt());
    db.setDatabaseName(value(QStringLiteral("dbname")));
    db.setUserName(value(QStringLiteral("user")));
    db.setPassword(value(QStringLiteral("password")));
    QStringList options;
    for (const auto& entry : entries_) {
        if (!ownSettings().contains(entry.first)) {
            options.append(entry.first + u'=' + quoted(entry.second));
        }
    }
    if (value(QStringLiteral("connect_timeout")).isEmpty()) {
        options.append(QStringLiteral("connect_timeout=%1").arg(kDefaultConnectTimeout));
    }
    db.setConnectOptions(options.join(u';'));
}

std::optional<ConnectionString> ConnectionString::readFile(const QString& path, QString* error) {
    // A connection string is one short line; anything longer is not one.
    constexpr qint64 kMaxFileBytes = 4096;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read (%2)").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    const QString line = QString::fromUtf8(bytes).section(u'\n', 0, 0).trimmed();
    QString why;
    std::optional<ConnectionString> where;
    if (bytes.size() <= kMaxFileBytes && !line.isEmpty()) {
        where = parse(line, &why);
    } else {
        why = QStringLiteral("it holds no connection string on its first line");
    }
    if (!where) {
        *error = QStringLiteral("%1: %2").arg(path, why);
    }
    return where;
}

}  // namespace sumbrook
