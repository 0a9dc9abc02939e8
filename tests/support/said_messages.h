#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace sumbrook::testing {

// What the program says through Qt's logging while one of these lives, each line as
// "category: message"; the handler before it is put back at the end.
class SaidMessages {
  public:
    SaidMessages() {
        lines().clear();
        previous_ = qInstallMessageHandler(collect);
    }
    ~SaidMessages() { qInstallMessageHandler(previous_); }
    SaidMessages(const SaidMessages&) = delete;
    SaidMessages& operator=(const SaidMessages&) = delete;

    // Everything said so far (kept after the listener is gone, until the next one).
    static QStringList& lines() {
        static QStringList said;
        return said;
    }

  private:
    static void collect(QtMsgType, const QMessageLogContext& context, const QString& message) {
        lines() << QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
    }

    QtMessageHandler previous_ = nullptr;
};

}  // namespace sumbrook::testing
