#pragma once

#include <QFont>

class QMenuBar;

namespace sumbrook {

// The font of a window's menu bar and its drop-downs: the theme's own face and point size,
// with a sans CJK face behind it for the Chinese items. Left to the system's fallback, the
// ideographs came from a Kai face whose glyphs sit far smaller in the em than the Latin
// letters beside them, about 9 pixels tall at the usual size.
class MenuFont {
  public:
    // The CJK face drawn when the theme's face has no glyph.
    static const char* const kCjkFamily;

    // `base` with kCjkFamily after its own family; size, weight and style as they were.
    static QFont withCjkFallback(const QFont& base);
    // Gives `bar` and every drop-down it holds that font, over the bar's present one.
    static void apply(QMenuBar& bar);
};

}  // namespace sumbrook
