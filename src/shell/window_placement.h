#pragma once

#include <QtGlobal>

namespace sumbrook {

// Where the main window stood before full screen: its outer left, top and width. The
// height is not kept; the 4:3 rule gives it back from the width.
struct WindowPlacement {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    bool operator==(const WindowPlacement&) const = default;
};

}  // namespace sumbrook
