#pragma once

#include <QObject>

class QSocketNotifier;

namespace sumbrook {

// Turns SIGTERM and SIGINT into a normal end of the event loop, so that a program ended
// from outside (a log-out, Ctrl+C) still writes what it must on the way out.
class QuitOnSignal : public QObject {
    Q_OBJECT
  public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

  private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace sumbrook
