#include "question_json.h"

#include "common/json_line.h"
#include "practice/core/exercise_catalogue.h"

namespace sumbrook {

namespace {

struct FieldsOf {
    JsonLine& line;

    void operator()(const TwoNumberQuestion& q) const {
        line.add(QStringLiteral("xian1"), q.xian1)
            .add(QStringLiteral("xian_fu"), q.xian_fu)
            .add(QStringLiteral("xian2"), q.xian2)
            .add(QStringLiteral("xian4"), q.xian4)
            .add(QStringLiteral("blank"), blankPositionName(q.blank));
    }
    void operator()(const ExpressionQuestion& q) const {
        line.add(QStringLiteral("xian1"), q.xian1);
    }
    void operator()(const MoneyQuestion& q) const {
        line.add(QStringLiteral("picture"), q.picture)
            .add(QStringLiteral("danw"), q.danw)
            .add(QStringLiteral("deshu2"), q.deshu2);
    }
    void operator()(const ClockQuestion& q) const {
        line.add(QStringLiteral("deshu0"), q.deshu0)
            .add(QStringLiteral("deshu2"), q.deshu2)
            .add(QStringLiteral("hour_angle"), q.hourAngle)
            .add(QStringLiteral("minute_angle"), q.minuteAngle);
    }
};

}  // namespace

QByteArray questionJson(int exercise, const Question& question) {
    JsonLine line;
    line.add(QStringLiteral("exercise"), exercise)
        .add(QStringLiteral("screen"), questionScreenName(ExerciseCatalogue::screen(exercise)))
        .add(QStringLiteral("level"), ExerciseCatalogue::levelText(exercise))
        .add(QStringLiteral("deshu"), expectedAnswer(question));
    std::visit(FieldsOf{line}, question);
    return line.toUtf8();
}

}  // namespace sumbrook
