#include "answers_csv.h"

#include "csv_writer.h"
#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

QString AnswersCsv::text(const QString& childName, const QVector<AnsweredQuestion>& answers) {
    QString text = QStringLiteral("\uFEFF");
    text += CsvWriter::row({QStringLiteral("时间"), QStringLiteral("孩子"), QStringLiteral("练习"),
                            QStringLiteral("练习名称"), QStringLiteral("题目"),
                            QStringLiteral("正确答案"), QStringLiteral("孩子的答案"),
                            QStringLiteral("对错"), QStringLiteral("用时（毫秒）")});
    for (const AnsweredQuestion& a : answers) {
        const QString title = ExerciseCatalogue::contains(a.exercise)
                                  ? ExerciseCatalogue::title(a.exercise)
                                  : QString();
        text += CsvWriter::row({a.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), childName,
                                QString::number(a.exercise), title, a.shown, a.expected, a.typed,
                                a.right ? QStringLiteral("对") : QStringLiteral("错"),
                                QString::number(a.ms)});
    }
    return text;
}

}  // namespace sumbrook
