#pragma once

#include <QSqlDatabase>

#include "class_queries.h"

namespace sumbrook {

// The teacher's window's reads of the whole class and its management of the list, on the
// class's server through the teacher's login. Each read is one or two statements over the
// server's own tables; pupils are judged by FactLearning as on their computers. It keeps
// nothing between calls and shows nothing; one pupil's own charts are ServerPupilQueries'.
class ServerClassQueries final : public ClassQueries {
  public:
    explicit ServerClassQueries(QSqlDatabase db);

    QVector<ListedPupil> pupils() const override;
    QVector<PupilNow> lessonNow(const QDateTime& now) const override;
    ClassHeatMap heatMap(const JournalSpan& span) const override;
    QVector<ClassMissedFact> mostMissed(const JournalSpan& span, int limit) const override;
    ClassFluency fluency() const override;

    int addPupil(const ClassPupil& pupil) override;
    bool renamePupil(int id, const QString& name) override;
    bool removePupil(int id) override;
    std::optional<ClassList::Imported> importPupils(
        const std::vector<PupilListFile::Pupil>& pupils) override;

    QString readError() const override { return readError_; }

  private:
    QSqlDatabase db_;
    mutable QString readError_;
};

}  // namespace sumbrook
