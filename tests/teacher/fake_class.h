#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "classroom/class_queries.h"

namespace sumbrook::testing {

// A class served from memory, as the teacher's window sees a server: its answers are what
// the test put in, a set error makes every read fail, and it remembers the spans and
// threads it was asked on. Safe to read from the lesson's worker thread.
class FakeClass : public ClassQueries {
  public:
    QVector<ListedPupil> pupils() const override {
        QMutexLocker lock(&mutex_);
        return error_.isEmpty() ? list_ : QVector<ListedPupil>();
    }
    QVector<PupilNow> lessonNow(const QDateTime& now) const override {
        const int running = ++running_;
        maxRunning_ = std::max(maxRunning_.load(), running);
        QThread::msleep(readMs_);
        QMutexLocker lock(&mutex_);
        --running_;
        lessonThreads_.insert(QThread::currentThread());
        lessonTimes_.append(now);
        return error_.isEmpty() ? now_ : QVector<PupilNow>();
    }
    ClassHeatMap heatMap(const JournalSpan& span) const override {
        QMutexLocker lock(&mutex_);
        spans_.append(span);
        return heat_;
    }
    QVector<ClassMissedFact> mostMissed(const JournalSpan&, int limit) const override {
        QMutexLocker lock(&mutex_);
        return missed_.mid(0, limit);
    }
    ClassFluency fluency() const override {
        QMutexLocker lock(&mutex_);
        return fluency_;
    }
    int addPupil(const ClassPupil& pupil) override {
        QMutexLocker lock(&mutex_);
        list_.append({++lastId_, pupil, false});
        return lastId_;
    }
    bool renamePupil(int id, const QString& name) override {
        QMutexLocker lock(&mutex_);
        for (ListedPupil& p : list_) {
            if (p.id == id) {
                p.pupil.name = name;
                return true;
            }
        }
        return false;
    }
    bool removePupil(int id) override {
        QMutexLocker lock(&mutex_);
        for (int i = 0; i < list_.size(); ++i) {
            if (list_[i].id == id) {
                if (withRows_.contains(id)) {
                    list_[i].left = true;
                } else {
                    list_.removeAt(i);
                }
                return true;
            }
        }
        return false;
    }
    // As the server does it: all or none, a pupil who left and is named again back.
    std::optional<ClassList::Imported> importPupils(
        const std::vector<PupilListFile::Pupil>& pupils) override {
        QMutexLocker lock(&mutex_);
        if (!error_.isEmpty()) {
            return std::nullopt;
        }
        ClassList::Imported imported;
        for (const PupilListFile::Pupil& row : pupils) {
            const auto known = std::find_if(list_.begin(), list_.end(), [&](const ListedPupil& p) {
                return p.pupil.number == row.number;
            });
            if (known == list_.end()) {
                list_.append({++lastId_, {row.number, row.name}, false});
                ++imported.added;
            } else if (known->pupil.name != row.name || known->left) {
                known->pupil.name = row.name;
                known->left = false;
                ++imported.renamed;
            } else {
                ++imported.unchanged;
            }
        }
        return imported;
    }
    QString readError() const override {
        QMutexLocker lock(&mutex_);
        return error_;
    }

    // What the test puts in.
    void setList(const QVector<ListedPupil>& list) {
        QMutexLocker lock(&mutex_);
        list_ = list;
        for (const ListedPupil& p : list) {
            lastId_ = std::max(lastId_, p.id);
        }
    }
    void setNow(const QVector<PupilNow>& now) {
        QMutexLocker lock(&mutex_);
        now_ = now;
    }
    void setHeat(const ClassHeatMap& heat) {
        QMutexLocker lock(&mutex_);
        heat_ = heat;
    }
    void setMissed(const QVector<ClassMissedFact>& missed) {
        QMutexLocker lock(&mutex_);
        missed_ = missed;
    }
    void setFluency(const ClassFluency& fluency) {
        QMutexLocker lock(&mutex_);
        fluency_ = fluency;
    }
    void setError(const QString& error) {
        QMutexLocker lock(&mutex_);
        error_ = error;
    }
    void giveRows(int id) {
        QMutexLocker lock(&mutex_);
        withRows_.insert(id);
    }
    void setReadMs(int ms) { readMs_ = ms; }

    // What the window asked.
    QVector<JournalSpan> spans() const {
        QMutexLocker lock(&mutex_);
        return spans_;
    }
    QSet<QThread*> lessonThreads() const {
        QMutexLocker lock(&mutex_);
        return lessonThreads_;
    }
    int lessonReads() const {
        QMutexLocker lock(&mutex_);
        return static_cast<int>(lessonTimes_.size());
    }
    int maxRunning() const { return maxRunning_; }
    QSet<QThread*> sourceThreads() const {
        QMutexLocker lock(&mutex_);
        return sourceThreads_;
    }

    // The lesson reader's own queries over this class, as a server gives each connection.
    std::function<std::shared_ptr<ClassQueries>(QString*)> source() {
        return [this](QString*) {
            {
                QMutexLocker lock(&mutex_);
                sourceThreads_.insert(QThread::currentThread());
            }
            return std::shared_ptr<ClassQueries>(new View(*this));
        };
    }

  private:
    class View : public ClassQueries {
      public:
        explicit View(FakeClass& c) : c_(c) {}
        QVector<ListedPupil> pupils() const override { return c_.pupils(); }
        QVector<PupilNow> lessonNow(const QDateTime& now) const override {
            return c_.lessonNow(now);
        }
        ClassHeatMap heatMap(const JournalSpan& span) const override { return c_.heatMap(span); }
        QVector<ClassMissedFact> mostMissed(const JournalSpan& span, int limit) const override {
            return c_.mostMissed(span, limit);
        }
        ClassFluency fluency() const override { return c_.fluency(); }
        int addPupil(const ClassPupil& pupil) override { return c_.addPupil(pupil); }
        bool renamePupil(int id, const QString& name) override { return c_.renamePupil(id, name); }
        bool removePupil(int id) override { return c_.removePupil(id); }
        std::optional<ClassList::Imported> importPupils(
            const std::vector<PupilListFile::Pupil>& pupils) override {
            return c_.importPupils(pupils);
        }
        QString readError() const override { return c_.readError(); }

      private:
        FakeClass& c_;
    };

    mutable QMutex mutex_;
    QVector<ListedPupil> list_;
    QVector<PupilNow> now_;
    ClassHeatMap heat_;
    QVector<ClassMissedFact> missed_;
    ClassFluency fluency_;
    QString error_;
    QSet<int> withRows_;
    int lastId_ = 0;
    std::atomic<int> readMs_{0};
    mutable std::atomic<int> running_{0};
    mutable std::atomic<int> maxRunning_{0};
    mutable QVector<JournalSpan> spans_;
    mutable QSet<QThread*> lessonThreads_;
    mutable QVector<QDateTime> lessonTimes_;
    QSet<QThread*> sourceThreads_;
};

// Lets the event loop run until `done` holds or `ms` have passed; whether it held.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace sumbrook::testing
