#include "pupil_list_file.h"

#include <QHash>
#include <QStringDecoder>

namespace sumbrook {

namespace {

const QString kNumberHeader = QStringLiteral("学号");
const QString kNameHeader = QStringLiteral("姓名");

QString decodedText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
        text = gbk(bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

// RFC 4180 rows: fields apart by commas, in double quotes when they hold a comma, a
// quote (doubled) or a line end; CR LF or LF between rows.
std::vector<QStringList> csvRows(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowHasText = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
            rowHasText = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
            rowHasText = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            row.append(field);
            rows.push_back(rowHasText || !field.isEmpty() ? row : QStringList());
            row.clear();
            field.clear();
            rowHasText = false;
        } else {
            field += c;
        }
    }
    if (rowHasText || !field.isEmpty()) {
        row.append(field);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

PupilListFile PupilListFile::read(const QByteArray& bytes) {
    PupilListFile file;
    const std::vector<QStringList> rows = csvRows(decodedText(bytes));
    if (rows.empty() || rows[0].size() < 2 || rows[0][0].trimmed() != kNumberHeader ||
        rows[0][1].trimmed() != kNameHeader) {
        file.problems_.append(QStringLiteral("row 1: the first row must be the header %1,%2")
                                  .arg(kNumberHeader, kNameHeader));
        return file;
    }
    QHash<QString, int> rowOfNumber;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const int rowNumber = static_cast<int>(i) + 1;
        const QStringList& cells = rows[i];
        if (cells.isEmpty()) {
            continue;  // a blank line
        }
        const auto say = [&](const QString& what) {
            file.problems_.append(QStringLiteral("row %1: %2").arg(rowNumber).arg(what));
        };
        const QString number = cells.value(0).trimmed();
        const QString name = cells.value(1).trimmed();
        bool extra = false;
        for (qsizetype c = 2; c < cells.size(); ++c) {
            extra = extra || !cells[c].trimmed().isEmpty();
        }
        if (number.isEmpty()) {
            say(QStringLiteral("no %1").arg(kNumberHeader));
        } else if (name.isEmpty()) {
            say(QStringLiteral("%1 %2 has no %3").arg(kNumberHeader, number, kNameHeader));
        } else if (extra) {
            say(QStringLiteral("more than the two columns %1,%2").arg(kNumberHeader, kNameHeader));
        } else if (number.size() > kMaxNumber) {
            say(QStringLiteral("%1 longer than %2 characters").arg(kNumberHeader).arg(kMaxNumber));
        } else if (name.size() > kMaxName) {
            say(QStringLiteral("%1 longer than %2 characters").arg(kNameHeader).arg(kMaxName));
        } else if (rowOfNumber.contains(number)) {
            say(QStringLiteral("%1 %2 is already on row %3")
                    .arg(kNumberHeader, number)
                    .arg(rowOfNumber.value(number)));
        } else {
            rowOfNumber.insert(number, rowNumber);
            file.pupils_.push_back({rowNumber, number, name});
        }
    }
    return file;
}

}  // namespace sumbrook
