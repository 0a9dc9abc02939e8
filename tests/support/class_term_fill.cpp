// Fills a class's server with a made-up term (ClassTerm) for screenshots and trials:
//   class_term_fill CONNINFO [PUPILS DAYS ANSWERS]
// CONNINFO is the owner's (the login `sumbrook class init` was given); the class's pupils
// and work are replaced. Prints what it wrote; today's lesson is going on as it ends.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "class_term.h"
#include "classroom/class_connection.h"

int main(int argc, char** argv) {
    using namespace sumbrook;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 5) {
        std::fprintf(stderr, "usage: class_term_fill CONNINFO [PUPILS DAYS ANSWERS]\n");
        return 2;
    }
    QString why;
    const auto where = ConnectionString::parse(args[1], &why);
    if (!where) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    testing::ClassTerm::Shape shape;
    if (args.size() == 5) {
        shape.pupils = std::clamp(args[2].toInt(), 1, 99);
        shape.days = std::clamp(args[3].toInt(), 1, 400);
        shape.answersPerDay = std::clamp(args[4].toInt(), 1, 1000);
    }
    ClassConnection connection(*where);
    if (!connection.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(connection.error()));
        return 1;
    }
    QSqlDatabase db = connection.database();
    QElapsedTimer timer;
    timer.start();
    QString error;
    const auto filled = testing::ClassTerm::fill(db, shape, QDateTime::currentDateTime(), error);
    if (!filled) {
        std::fprintf(stderr, "the term was not written: %s\n",
                     qPrintable(ClassConnection::oneLine(error)));
        return 1;
    }
    std::printf("%d pupils, %lld answers, %lld runs in %.1f s; today's lesson began %s\n",
                filled->pupils, static_cast<long long>(filled->answers),
                static_cast<long long>(filled->runs), static_cast<double>(timer.elapsed()) / 1000,
                qPrintable(filled->lessonStart.toString(QStringLiteral("HH:mm"))));
    return 0;
}
