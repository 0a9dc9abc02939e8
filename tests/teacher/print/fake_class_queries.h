#pragma once

#include "classroom/class_queries.h"

namespace sumbrook::testing {

// The class as the printouts' tests set it: a list, a heat map and the most-missed facts
// handed back as given, whatever the span; `refusal` makes every read fail with it. The
// pupils' own answers come from a journal whose children have the listed ids.
struct FakeClassQueries final : ClassQueries {
    QVector<ListedPupil> list;
    ClassHeatMap map;
    QVector<ClassMissedFact> missed;
    QString refusal;

    QVector<ListedPupil> pupils() const override {
        return refusal.isEmpty() ? list : QVector<ListedPupil>{};
    }
    QVector<PupilNow> lessonNow(const QDateTime&) const override { return {}; }
    ClassHeatMap heatMap(const JournalSpan&) const override { return map; }
    QVector<ClassMissedFact> mostMissed(const JournalSpan&, int limit) const override {
        return missed.mid(0, limit);
    }
    ClassFluency fluency() const override { return {}; }
    int addPupil(const ClassPupil&) override { return 0; }
    bool renamePupil(int, const QString&) override { return false; }
    bool removePupil(int) override { return false; }
    std::optional<ClassList::Imported> importPupils(
        const std::vector<PupilListFile::Pupil>&) override {
        return std::nullopt;
    }
    QString readError() const override { return refusal; }
};

}  // namespace sumbrook::testing
