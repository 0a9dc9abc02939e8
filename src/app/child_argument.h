#pragma once

#include <QString>
#include <QVector>
#include <optional>

#include "journal/journal_types.h"

namespace sumbrook {

class PracticeJournal;

// The child that "--child" names on a command line, shared by the commands that take it:
// the stored name exactly as given (nothing trimmed, so any stored name can be chosen), or
// else the child's number. An exact name wins over a number, so a child named "2" is still
// found by its name. It reads nothing itself; the caller hands it the journal's children.
struct ChildArgument {
    int id = 0;  // 0: no such child, and `refusal` says so in one line
    QString name;
    QString refusal;
};
ChildArgument childFromArgument(const QVector<Child>& children, const QString& given);

// A name as it may stand in a one-line message: control characters, escape sequences and
// invisible formatting shown as \t, \n, \x1b, \u202e (and a backslash as \\), cut to about
// 40 characters with "…".
QString printableName(const QString& name);

// The child a command works on, from a journal the command opens: the one "--child" names
// (`given`), or else the one who practises next. A journal that cannot be opened or read
// is never taken for one without children.
struct ChosenChild {
    int id = 0;
    QString name;
    int exitCode = 0;  // 0 found; 1 the journal cannot be opened or read; 2 no such child
    QString refusal;   // the one line to say when not found
};
ChosenChild chooseChild(PracticeJournal& journal, const std::optional<QString>& given);

}  // namespace sumbrook
