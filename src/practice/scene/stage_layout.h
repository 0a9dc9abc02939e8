#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <array>

namespace sumbrook::stage_layout {

// The stage is 800 × 600 units with a 24-unit margin on an 8-unit grid.
constexpr double kWidth = 800;
constexpr double kHeight = 600;
constexpr QRectF kStage{0, 0, kWidth, kHeight};

// A figure of the scenery (a tree, the bear, the title, the sun): where it stands and
// how large it is.
struct Figure {
    QPointF at;
    double size;
};

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
// The question's line inside its card; when the question is a picture (money, clock),
// the picture at the left and the answer line beside it.
constexpr QRectF kQuestionLine{56, 88, 596, 256};
constexpr QRectF kPictureArea{40, 104, 320, 224};
constexpr QRectF kMoneyAnswerArea{380, 104, 288, 224};
constexpr QPointF kDialCentre{176, 216};
constexpr double kDialRadius = 112;
constexpr QRectF kClockAnswerArea{316, 104, 352, 224};
// The bear beside the keypad.
constexpr Figure kQuestionBear{{420, 516}, 144};
constexpr QRectF kScoreBar{716, 112, 40, 216};  // fst, beside the question
constexpr QRectF kScoreLabel{692, 80, 88, 28};  // "得分：" and its value, above the bar
inline QRectF keypadKey(int index) {            // 0..11: 7 8 9 / 4 5 6 / 1 2 3 / 0 ← 确定
    const int row = index / 3;
    const int column = index % 3;
    return {520.0 + column * 88, 360.0 + row * 58, 80, 50};
}
constexpr QRectF kBack{24, 528, 152, 52};
constexpr QRectF kNext{192, 528, 152, 52};

// Answer screens: the bear at the lower right with its speech bubble.
constexpr Figure kAnswerBear{{640, 586}, 200};
constexpr QRectF kBubble{356, 400, 192, 72};
// The stars that twinkle round the cheering bear, each on its own beat.
struct Twinkle {
    QPointF at;
    double size;
    int phase;
};
constexpr std::array<Twinkle, 7> kPraiseStars{{{{552, 372}, 18, 0},
                                               {{768, 392}, 14, 3},
                                               {{604, 524}, 12, 6},
                                               {{776, 520}, 16, 9},
                                               {{470, 512}, 15, 4},
                                               {{60, 112}, 14, 7},
                                               {{412, 560}, 11, 10}}};

// The open screens' meadow: its clouds, and its sun at the upper right.
constexpr std::array<QPointF, 3> kMeadowClouds{{{150, 110}, {610, 80}, {420, 170}}};
constexpr QPointF kSceneSun{712, 84};

// Intro.
constexpr double kIntroGrassTop = 500;
constexpr std::array<Figure, 2> kIntroTrees{{{{96, 520}, 96}, {{690, 512}, 80}}};
constexpr Figure kIntroTitle{{400, 176}, 104};
constexpr std::array<QPointF, 5> kIntroStars{
    {{150, 98}, {652, 104}, {118, 236}, {690, 226}, {590, 60}}};
constexpr QRectF kIntroVersion{352, 250, 96, 40};
constexpr Figure kIntroBear{{400, 528}, 200};

// Main menu.
constexpr double kMainMenuGrassTop = 520;
constexpr Figure kMainMenuTree{{680, 548}, 110};
constexpr Figure kMainMenuTitle{{400, 128}, 100};
constexpr QRectF kMainMenuSubtitle{272, 204, 256, 48};
constexpr Figure kMainMenuBear{{150, 548}, 220};
// With "错题复习" among them the four close up, to stay clear of the grass.
inline QRectF mainMenuButton(int index, bool withReview = false) {
    return withReview ? QRectF(280.0, 272.0 + index * 64, 240, 56)
                      : QRectF(280.0, 296.0 + index * 72, 240, 56);
}

// Menu pages: page 1 three columns of eight, page 2 a column of eight and one of five.
inline QRectF menuEntry(int page, int column, int row) {
    const double left = page == 1 ? 40.0 + column * 248 : 144.0 + column * 296;
    return {left, 96.0 + row * 52, page == 1 ? 224.0 : 216.0, 44};
}
constexpr double kMenuPageGrassTop = 528;
constexpr QRectF kMenuPageHeading{216, 20, 368, 56};
constexpr Figure kMenuPageBear{{726, 516}, 120};  // page 2
constexpr Figure kMenuPageTree{{548, 524}, 72};   // page 2
constexpr QRectF kMenuBottomLeft{24, 536, 168, 48};
constexpr QRectF kMenuBottomRight{608, 536, 168, 48};

// Completion screen.
constexpr QRectF kCompletionOk{320, 512, 160, 56};
constexpr double kCompletionGrassTop = 488;
constexpr QPointF kCompletionSun{76, 68};
constexpr QRectF kCompletionCard{336, 144, 424, 248};
constexpr QRectF kCompletionRibbon{264, 32, 272, 64};
constexpr QRectF kCompletionTitle{368, 160, 360, 48};
constexpr QLineF kCompletionRule{368, 214, 728, 214};
// Row 0 the time taken, row 1 the best time: a label and the time beside it.
inline QRectF completionLabel(int row) {
    return {368, 236.0 + row * 72, 96, 56};
}
inline QRectF completionTime(int row) {
    return {464, 236.0 + row * 72, 264, 56};
}
constexpr std::array<QPointF, 5> kCompletionStars{
    {{44, 206}, {300, 196}, {168, 128}, {306, 440}, {40, 392}}};
constexpr Figure kCompletionBear{{180, 500}, 220};
constexpr QPointF kCompletionBadge{724, 148};

// Game map.
constexpr QRectF kMapStart{316, 528, 168, 56};
constexpr QRectF kMapRestart{24, 536, 168, 48};
constexpr QRectF kMapBack{608, 536, 168, 48};
// Stop k stands for level k; the path snakes up the hills from the bottom left.
constexpr std::array<QPointF, 22> kMapStops{{
    {80, 468},  {190, 452}, {300, 468}, {410, 452}, {520, 468}, {630, 452},  // along the foot
    {722, 392},                                                              // round the bend
    {640, 336}, {530, 350}, {420, 336}, {310, 350}, {200, 336},              // back across
    {94, 276},                                                               // up the left
    {180, 214}, {290, 228}, {400, 214}, {510, 228}, {620, 214},              // across again
    {718, 152},                                                              // round the top bend
    {624, 98},  {512, 108}, {404, 96},                                       // to the summit
}};
constexpr Figure kMapSun{{560, 34}, 24};
constexpr std::array<QPointF, 2> kMapClouds{{{130, 34}, {320, 22}}};
constexpr std::array<Figure, 3> kMapTrees{{{{40, 396}, 56}, {{764, 300}, 60}, {{760, 522}, 52}}};
constexpr std::array<QPointF, 11> kMapFlowers{{{250, 398},
                                               {470, 404},
                                               {360, 286},
                                               {580, 284},
                                               {140, 166},
                                               {460, 160},
                                               {364, 150},
                                               {80, 532},
                                               {250, 515},
                                               {560, 512},
                                               {700, 460}}};
// The sign of the level to play, or the ribbon and praise when the path is done.
constexpr QRectF kMapSign{24, 16, 312, 92};
constexpr QRectF kMapSignLevel{40, 24, 280, 36};
constexpr QRectF kMapSignTitle{40, 60, 280, 38};
constexpr QRectF kMapDoneRibbon{64, 20, 232, 56};
constexpr QRectF kMapPraise{100, 96, 160, 44};
constexpr double kMapBearHeight = 66;

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
