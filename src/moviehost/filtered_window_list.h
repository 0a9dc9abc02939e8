#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace sumbrook {

// The windows whose right-button presses are kept from them: the movie player's control,
// so that a right click on the movie opens no menu. Each listed window gets this list as
// its event filter; every event but a right-button press passes unchanged. Entries are
// only appended; the owner frees them all at once at the end of the program.
class FilteredWindowList : public QObject {
    Q_OBJECT
  public:
    struct Entry {
        QPointer<QWidget> window;  // null once the window is gone
        bool swallowRightButton = true;
    };

    // Appends an entry for `window` and starts filtering its events.
    void append(QWidget* window, bool swallowRightButton = true);
    // Frees every entry; the windows still alive get all their events again.
    void clear();
    const std::vector<Entry>& entries() const { return entries_; }

    // True when `event` must not reach `window`: the first entry for the window swallows
    // right buttons, and the event is a right-button press or double click, or the
    // context-menu request that such a press makes. False for unlisted windows.
    bool RightClickFilter(const QObject* window, const QEvent* event) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<Entry> entries_;
};

}  // namespace sumbrook
