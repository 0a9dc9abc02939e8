#include "lesson_poller.h"

#include "classroom/class_log.h"

namespace sumbrook {

// What only the worker thread touches.
struct LessonPoller::WorkerState {
    Source source;
    std::shared_ptr<ClassQueries> queries;
};

LessonPoller::LessonPoller(Source source, std::function<QDateTime()> now, QObject* parent)
    : QObject(parent),
      now_(now ? std::move(now) : [] { return QDateTime::currentDateTime(); }),
      state_(std::make_shared<WorkerState>()) {
    state_->source = std::move(source);
    thread_.setObjectName(QStringLiteral("此刻"));
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    thread_.start();
    connect(&timer_, &QTimer::timeout, this, &LessonPoller::readNow);
}

LessonPoller::~LessonPoller() {
    timer_.stop();
    // The connection belongs to the worker thread and is closed there.
    QMetaObject::invokeMethod(
        worker_, [state = state_] { state->queries.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void LessonPoller::start(int intervalMs) {
    timer_.start(intervalMs);
    readNow();
}

void LessonPoller::stop() {
    timer_.stop();
}

void LessonPoller::readNow() {
    if (reading_) {
        return;
    }
    reading_ = true;
    const QDateTime now = now_();
    QMetaObject::invokeMethod(worker_, [this, state = state_, now] {
        QVector<PupilNow> pupils;
        QString error;
        if (!state->queries) {
            state->queries = state->source(&error);
        }
        if (state->queries) {
            pupils = state->queries->lessonNow(now);
            error = state->queries->readError();
            if (!error.isEmpty()) {
                state->queries.reset();  // a fresh connection for the next try
            }
        } else if (error.isEmpty()) {
            error = QStringLiteral("连不上班级的服务器。");
        }
        // The poller outlives every read: its destructor waits for this thread.
        QMetaObject::invokeMethod(
            this, [this, pupils, now, error] { deliver(pupils, now, error); },
            Qt::QueuedConnection);
    });
}

void LessonPoller::deliver(const QVector<PupilNow>& pupils, const QDateTime& now,
                           const QString& error) {
    reading_ = false;
    ++reads_;
    if (!error.isEmpty()) {
        if (!failing_) {
            failing_ = true;
            qCWarning(classLog).noquote()
                << "the lesson could not be read, trying again every second:" << error;
            emit failed(error);
        }
        return;
    }
    if (failing_) {
        failing_ = false;
        qCInfo(classLog) << "the lesson is read again";
        emit recovered();
    }
    emit lessonRead(pupils, now);
}

}  // namespace sumbrook
