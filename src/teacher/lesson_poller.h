#pragma once

#include <QDateTime>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <QVector>
#include <functional>
#include <memory>

#include "classroom/class_queries.h"

namespace sumbrook {

// Reads the lesson going on ("此刻") about every second on a worker thread, through a
// ClassQueries of the worker's own (its own connection), one read at a time, and hands
// the rows to the GUI thread. A failure is said once, on classLog and through failed(),
// and the read retried with a fresh source until it answers again. It shows nothing.
class LessonPoller : public QObject {
    Q_OBJECT
  public:
    // Makes the worker's queries, with what they need kept alive by the pointer; called on
    // the worker thread, again after a failure. Null, with `error` one line, when it cannot.
    using Source = std::function<std::shared_ptr<ClassQueries>(QString* error)>;

    LessonPoller(Source source, std::function<QDateTime()> now, QObject* parent = nullptr);
    ~LessonPoller() override;

    void start(int intervalMs = 1000);
    void stop();
    // Asks for a read now, unless one is under way.
    void readNow();
    bool reading() const { return reading_; }
    int reads() const { return reads_; }

  signals:
    void lessonRead(const QVector<PupilNow>& pupils, const QDateTime& now);
    void failed(const QString& error);  // once for a run of failed reads
    void recovered();                   // the first good read after them

  private:
    void deliver(const QVector<PupilNow>& pupils, const QDateTime& now, const QString& error);

    std::function<QDateTime()> now_;
    QThread thread_;
    QObject* worker_ = nullptr;  // lives on thread_
    struct WorkerState;
    std::shared_ptr<WorkerState> state_;
    QTimer timer_;
    bool reading_ = false;
    bool failing_ = false;
    int reads_ = 0;
};

}  // namespace sumbrook
