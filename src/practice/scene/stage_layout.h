#pragma once

#include <QRectF>

namespace sumbrook::stage_layout {

// The stage is 800 × 600 units with a 24-unit margin on an 8-unit grid.
constexpr double kWidth = 800;
constexpr double kHeight = 600;

// Question screens: header band, question area, keypad at the lower right.
constexpr QRectF kHeader{0, 0, 800, 72};
// The header's pills: the level at the left, then three columns of counters and times.
// While "退出全屏" shows at the top right they close up to the left to make room for it.
inline QRectF levelPill(bool roomForExit) {
    return {16, 10, roomForExit ? 160.0 : 168.0, 52};
}
inline QRectF headerColumn(int index, bool roomForExit) {
    return roomForExit ? QRectF(188.0 + index * 160, 8, 152, 56)
                       : QRectF(200.0 + index * 168, 8, 156, 56);
}
// One line of a header column: row 0 the upper, row 1 the lower; column 2 row 0 holds
// the running time, the only text of a question screen that changes by itself.
inline QRectF headerCell(int column, int row, bool roomForExit) {
    const QRectF c = headerColumn(column, roomForExit);
    return {c.left() + 10, 10.0 + row * 26, c.width() - 20, 26};
}
constexpr QRectF kQuestionArea{24, 88, 660, 256};
constexpr QRectF kScoreBar{716, 112, 40, 216};  // fst, beside the question
inline QRectF keypadKey(int index) {            // 0..11: 7 8 9 / 4 5 6 / 1 2 3 / 0 ← 确定
    const int row = index / 3;
    const int column = index % 3;
    return {520.0 + column * 88, 360.0 + row * 58, 80, 50};
}
constexpr QRectF kBack{24, 528, 152, 52};
constexpr QRectF kNext{192, 528, 152, 52};

// Main menu.
inline QRectF mainMenuButton(int index) {
    return {280.0, 296.0 + index * 72, 240, 56};
}

// Menu pages: page 1 three columns of eight, page 2 a column of eight and one of five.
inline QRectF menuEntry(int page, int column, int row) {
    const double left = page == 1 ? 40.0 + column * 248 : 144.0 + column * 296;
    return {left, 96.0 + row * 52, page == 1 ? 224.0 : 216.0, 44};
}
constexpr QRectF kMenuBottomLeft{24, 536, 168, 48};
constexpr QRectF kMenuBottomRight{608, 536, 168, 48};

// Completion screen.
constexpr QRectF kCompletionOk{320, 512, 160, 56};

// Game map.
constexpr QRectF kMapStart{316, 528, 168, 56};
constexpr QRectF kMapRestart{24, 536, 168, 48};
constexpr QRectF kMapBack{608, 536, 168, 48};

// A confirmation box and its two buttons.
constexpr QRectF kBox{184, 176, 432, 248};
constexpr QRectF kBoxOk{224, 344, 160, 52};
constexpr QRectF kBoxCancel{416, 344, 160, 52};

// Settings panel, when it has slid in.
constexpr QRectF kPanel{112, 40, 576, 520};
inline QRectF songChoice(int index) {  // 0..9 in two columns of five
    return {144.0 + (index / 5) * 264, 148.0 + (index % 5) * 48, 248, 40};
}
constexpr QRectF kVolumeUp{432, 408, 56, 44};
constexpr QRectF kVolumeValue{496, 408, 72, 44};
constexpr QRectF kVolumeDown{576, 408, 56, 44};
constexpr QRectF kClearHistory{144, 472, 232, 48};
constexpr QRectF kPanelBack{504, 472, 152, 48};

// "退出全屏": at the top right while full screen, far off the stage otherwise.
constexpr QRectF kExitOnStage{685, 10, 104, 32};
constexpr QRectF kExitOffStage{1300, -500, 104, 32};

}  // namespace sumbrook::stage_layout
