#include "moviehost/filtered_window_list.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace sumbrook {

void FilteredWindowList::append(QWidget* window, bool swallowRightButton) {
    if (window == nullptr) {
        return;
    }
    entries_.push_back({window, swallowRightButton});
    window->installEventFilter(this);
}

void FilteredWindowList::clear() {
    for (const Entry& entry : entries_) {
        if (entry.window) {
            entry.window->removeEventFilter(this);
        }
    }
    entries_.clear();
}

bool FilteredWindowList::RightClickFilter(const QObject* window, const QEvent* event) const {
    for (const Entry& entry : entries_) {
        if (entry.window != window) {
            continue;
        }
        if (!entry.swallowRightButton) {
            return false;
        }
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
            case QEvent::ContextMenu:
                // On this system the menu request comes with the press itself.
                return static_cast<const QContextMenuEvent*>(event)->reason() ==
                       QContextMenuEvent::Mouse;
            default:
                return false;
        }
    }
    return false;
}

bool FilteredWindowList::eventFilter(QObject* watched, QEvent* event) {
    return RightClickFilter(watched, event);
}

}  // namespace sumbrook
