#include "child_argument.h"

#include <QStringList>
#include <limits>

#include "command_options.h"
#include "journal/practice_journal.h"

namespace sumbrook {

namespace {

constexpr qsizetype kShownCharacters = 40;
constexpr qsizetype kListedChildren = 10;

// How one character stands in a message; empty when it stands as itself.
QString escaped(char32_t c) {
    switch (c) {
        case U'\t':
            return QStringLiteral("\\t");
        case U'\n':
            return QStringLiteral("\\n");
        case U'\r':
            return QStringLiteral("\\r");
        case U'\\':
            return QStringLiteral("\\\\");
        default:
            break;
    }
    if (c < 0x20 || (c >= 0x7f && c < 0xa0)) {
        return QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QChar(u'0'));
    }
    switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:  // bidirectional overrides can reorder what follows
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return c > 0xffff
                       ? QStringLiteral("\\U%1").arg(static_cast<uint>(c), 8, 16, QChar(u'0'))
                       : QStringLiteral("\\u%1").arg(static_cast<uint>(c), 4, 16, QChar(u'0'));
        default:
            return {};
    }
}

}  // namespace

QString printableName(const QString& name) {
    QString shown;
    qsizetype length = 0;  // in characters as they are shown
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name.at(i).unicode();
        qsizetype units = 1;
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() &&
            name.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            units = 2;
        }
        const QString escape = escaped(c);
        const qsizetype width = escape.isEmpty() ? 1 : escape.size();
        if (length + width > kShownCharacters) {
            return shown + u'…';
        }
        shown += escape.isEmpty() ? name.mid(i, units) : escape;
        length += width;
        i += units - 1;
    }
    return shown;
}

ChildArgument childFromArgument(const QVector<Child>& children, const QString& given) {
    for (const Child& child : children) {
        if (child.name == given) {
            return {child.id, child.name, {}};
        }
    }
    if (const auto number = CommandOptions::wholeNumber(
            given, 1, static_cast<std::uint64_t>(std::numeric_limits<int>::max()))) {
        for (const Child& child : children) {
            if (child.id == static_cast<int>(*number)) {
                return {child.id, child.name, {}};
            }
        }
    }
    QStringList listed;
    for (const Child& child : children) {
        if (listed.size() == kListedChildren) {
            listed.append(QStringLiteral("… %1 in all").arg(children.size()));
            break;
        }
        listed.append(QStringLiteral("%1 %2").arg(child.id).arg(printableName(child.name)));
    }
    return {0,
            {},
            QStringLiteral("no child is named or numbered '%1' (children: %2)")
                .arg(printableName(given), listed.join(QStringLiteral(", ")))};
}

ChosenChild chooseChild(PracticeJournal& journal, const std::optional<QString>& given) {
    ChosenChild chosen;
    if (!journal.open()) {
        chosen.exitCode = 1;
        chosen.refusal =
            QStringLiteral("the practice journal %1 cannot be opened").arg(journal.filePath());
        return chosen;
    }
    const int current = given ? 0 : journal.currentChildId();
    const QString unreadCurrent = journal.readError();
    const QVector<Child> children = journal.children();
    if (const QString unread = unreadCurrent.isEmpty() ? journal.readError() : unreadCurrent;
        !unread.isEmpty()) {
        chosen.exitCode = 1;
        chosen.refusal = unread;
        return chosen;
    }
    if (given) {
        const ChildArgument child = childFromArgument(children, *given);
        chosen.id = child.id;
        chosen.name = child.name;
        chosen.exitCode = child.id == 0 ? 2 : 0;
        chosen.refusal = child.refusal;
        return chosen;
    }
    chosen.id = current;
    for (const Child& child : children) {
        if (child.id == current) {
            chosen.name = child.name;
        }
    }
    return chosen;
}

}  // namespace sumbrook
