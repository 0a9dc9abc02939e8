#include "sheet_fonts.h"

#include <QStringList>
#include <array>
#include <mutex>

namespace sumbrook {

namespace {

// 宋体 is stood in for by AR PL UMing, a Ming face like it: the Noto CJK faces share one
// glyph between some ideographs and the Kangxi radicals, so a PDF made with them gives
// "⽉" for "月" to anyone who copies or searches its text.
struct StandIn {
    const char* windowsName;
    const char* debianFamily;
};

constexpr std::array<StandIn, 4> kStandIns{{
    {"宋体", "AR PL UMing CN"},
    {"新宋体", "Noto Sans Mono CJK SC"},
    {"黑体", "Noto Sans CJK SC"},
    {"楷体_GB2312", "AR PL UKai CN"},
}};

constexpr const char* kDefaultFamily = "Noto Sans CJK SC";

}  // namespace

void SheetFonts::install() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const StandIn& s : kStandIns) {
            QFont::insertSubstitutions(
                QString::fromUtf8(s.windowsName),
                {QString::fromUtf8(s.debianFamily), QString::fromLatin1(kDefaultFamily)});
        }
    });
}

QString SheetFonts::standIn(const QString& name) {
    for (const StandIn& s : kStandIns) {
        if (name == QString::fromUtf8(s.windowsName)) {
            return QString::fromUtf8(s.debianFamily);
        }
    }
    return QString::fromLatin1(kDefaultFamily);
}

bool SheetFonts::isFixedPitch(const QString& name) {
    return name == QStringLiteral("新宋体");
}

QFont SheetFonts::cellFont(const QString& name, int pixelSize) {
    install();
    QFont font(standIn(name));
    font.setPixelSize(std::max(1, pixelSize));
    font.setStyleHint(isFixedPitch(name) ? QFont::TypeWriter : QFont::AnyStyle);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace sumbrook
