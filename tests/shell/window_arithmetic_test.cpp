// The main window's size and place as arithmetic, without a screen.
#include <gtest/gtest.h>

#include "shell/window_arithmetic.h"

namespace sumbrook {
namespace {

struct AspectRow {
    const char* what;
    int clientWidth;
    int outerHeight;
    int clientHeight;
    int wantedOuterHeight;
};

void PrintTo(const AspectRow& row, std::ostream* out) {
    *out << row.what;
}

class AspectRule : public ::testing::TestWithParam<AspectRow> {};

TEST_P(AspectRule, GivesTheClientAreaTheStageShape) {
    const AspectRow& row = GetParam();
    EXPECT_EQ(
        WindowArithmetic::AspectOuterHeight(row.clientWidth, row.outerHeight, row.clientHeight),
        row.wantedOuterHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AspectRule,
    ::testing::Values(
        // 1,366 / 800 × 600 = 1,024.5: cut toward zero.
        AspectRow{"wide_window_cuts_the_half", 1366, 700, 650, 1024 + 50},
        AspectRow{"no_frame", 1366, 300, 300, 1024}, AspectRow{"stage_size", 800, 650, 600, 650},
        // A drag of the bottom edge alone: the same width gives back the old height.
        AspectRow{"bottom_edge_dragged_down", 784, 900, 846, 588 + 54},
        AspectRow{"bottom_edge_dragged_up", 784, 300, 246, 588 + 54},
        AspectRow{"client_height_zero", 784, 54, 0, 588 + 54},
        // In doubles 164 / 800 × 600 is a hair under 123, so with no frame it cuts to
        // 122; a frame added before the cut rounds the sum back to a whole number.
        AspectRow{"double_arithmetic_without_frame", 164, 200, 200, 122},
        AspectRow{"double_arithmetic_with_frame", 164, 220, 200, 143},
        AspectRow{"narrowest", 1, 40, 30, 10}, AspectRow{"no_width", 0, 40, 30, 10},
        AspectRow{"full_screen_1280", 1280, 800, 800, 960},
        AspectRow{"full_screen_1920", 1920, 1080, 1080, 1440}),
    [](const ::testing::TestParamInfo<AspectRow>& row) { return std::string(row.param.what); });

struct PlacementRow {
    const char* what;
    int screenWidth;
    int screenHeight;
    int outerHeight;
    int left;
    int top;
};

void PrintTo(const PlacementRow& row, std::ostream* out) {
    *out << row.what;
}

class StartPlacement : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(StartPlacement, CentresTheWindowCutTowardZero) {
    const PlacementRow& row = GetParam();
    const QPoint place =
        WindowArithmetic::StartPlacement(QSize(row.screenWidth, row.screenHeight), row.outerHeight);
    EXPECT_EQ(place.x(), row.left);
    EXPECT_EQ(place.y(), row.top);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartPlacement,
    ::testing::Values(PlacementRow{"screen_1024x768", 1024, 768, 642, 112, 384 - 321},
                      PlacementRow{"odd_outer_height_cuts_the_half", 1024, 768, 643, 112, 62},
                      PlacementRow{"screen_1280x1024", 1280, 1024, 642, 240, 191},
                      PlacementRow{"screen_800_wide", 800, 600, 642, 0, -21},
                      // Narrower than the window: it starts partly off the screen.
                      PlacementRow{"screen_640_wide", 640, 480, 642, -80, -81},
                      // −0.5 and −21.5 are cut toward zero, not rounded down.
                      PlacementRow{"one_pixel_too_narrow", 799, 599, 642, 0, -21},
                      PlacementRow{"odd_screen_width", 1025, 769, 642, 112, 63}),
    [](const ::testing::TestParamInfo<PlacementRow>& row) { return std::string(row.param.what); });

// --- screens of other shapes ------------------------------------------------------------

// A screen or work area, where the scene stands when the window fills it, and the start
// window that fits it with a frame of 2 × 54 pixels (caption, borders, menu bar).
struct ShapeRow {
    const char* what;
    QSize area;
    QRect scene;
    int startWidth;
};

void PrintTo(const ShapeRow& row, std::ostream* out) {
    *out << row.what;
}

class ScreenShape : public ::testing::TestWithParam<ShapeRow> {};

TEST_P(ScreenShape, LetterboxesTheSceneAndFitsTheStartWindow) {
    const ShapeRow& row = GetParam();
    EXPECT_EQ(WindowArithmetic::Letterbox(row.area), row.scene);
    const int outer = WindowArithmetic::FittingOuterWidth(row.area, 2, 54, 800);
    EXPECT_EQ(outer, row.startWidth);
    const auto height = [](int width) {
        return WindowArithmetic::AspectOuterHeight(width - 2, width - 2 + 54, width - 2);
    };
    EXPECT_LE(height(outer), row.area.height());
    // The widest that fits: a pixel more would not, unless the start width was reached.
    EXPECT_TRUE(outer == 800 || outer == row.area.width() || height(outer + 1) > row.area.height());
    // Kept inside the work area, a window that fits it moves no further than it must.
    const QRect area(QPoint(0, 30), row.area);
    EXPECT_EQ(WindowArithmetic::KeptInside(QRect(-5, 10, outer, height(outer)), area),
              QPoint(0, std::max(30, std::min(10, area.bottom() + 1 - height(outer)))));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScreenShape,
    ::testing::Values(
        ShapeRow{"four_three_1024x768", {1024, 768}, {0, 0, 1024, 768}, 800},
        ShapeRow{"five_four_1280x1024", {1280, 1024}, {0, 32, 1280, 960}, 800},
        ShapeRow{"sixteen_ten_1920x1200", {1920, 1200}, {160, 0, 1600, 1200}, 800},
        ShapeRow{"sixteen_nine_1920x1080", {1920, 1080}, {240, 0, 1440, 1080}, 800},
        // 1,366 × 768 less a panel: 728 × 4/3 = 970.67, cut; room enough for the start.
        ShapeRow{"sixteen_nine_1366x728", {1366, 728}, {198, 0, 970, 728}, 800},
        ShapeRow{"twenty_one_nine_2560x1080", {2560, 1080}, {560, 0, 1440, 1080}, 800},
        // The rule's height is cut: 729 × 3/4 + 54 = 600.75 gives 600.
        ShapeRow{"netbook_1024x600", {1024, 600}, {112, 0, 800, 600}, 731},
        ShapeRow{"netbook_with_panel_1024x560", {1024, 560}, {139, 0, 746, 560}, 677},
        ShapeRow{"portrait_600x1024", {600, 1024}, {0, 287, 600, 450}, 600},
        // A maximised client area: 705 × 4/3 = 940; the odd pixel goes right.
        ShapeRow{"maximised_1366x705", {1366, 705}, {213, 0, 940, 705}, 800}),
    [](const ::testing::TestParamInfo<ShapeRow>& row) { return std::string(row.param.what); });

}  // namespace
}  // namespace sumbrook
