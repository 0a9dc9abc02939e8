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

struct LetterboxRow {
    const char* what;
    QSize area;
    QRect scene;
};

void PrintTo(const LetterboxRow& row, std::ostream* out) {
    *out << row.what;
}

class Letterbox : public ::testing::TestWithParam<LetterboxRow> {};

TEST_P(Letterbox, PutsTheLargestStageShapeInsideTheAreaCentred) {
    const LetterboxRow& row = GetParam();
    const QRect scene = WindowArithmetic::Letterbox(row.area);
    EXPECT_EQ(scene, row.scene);
    EXPECT_TRUE(scene.isEmpty() || QRect(QPoint(0, 0), row.area).contains(scene));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Letterbox,
    ::testing::Values(LetterboxRow{"four_three_1024x768", {1024, 768}, {0, 0, 1024, 768}},
                      LetterboxRow{"five_four_1280x1024", {1280, 1024}, {0, 32, 1280, 960}},
                      LetterboxRow{"sixteen_ten_1920x1200", {1920, 1200}, {160, 0, 1600, 1200}},
                      LetterboxRow{"sixteen_nine_1920x1080", {1920, 1080}, {240, 0, 1440, 1080}},
                      // 1,366 − 1,024 = 342: 171 on each side.
                      LetterboxRow{"sixteen_nine_1366x768", {1366, 768}, {171, 0, 1024, 768}},
                      LetterboxRow{"twenty_one_nine_2560x1080", {2560, 1080}, {560, 0, 1440, 1080}},
                      LetterboxRow{"twenty_one_nine_3440x1440", {3440, 1440}, {760, 0, 1920, 1440}},
                      // A maximised client area: 705 × 4/3 = 940, cut; the odd pixel right.
                      LetterboxRow{"maximised_1366x705", {1366, 705}, {213, 0, 940, 705}},
                      LetterboxRow{"portrait_768x1024", {768, 1024}, {0, 224, 768, 576}},
                      LetterboxRow{"empty", {0, 0}, {0, 0, 0, 0}}),
    [](const ::testing::TestParamInfo<LetterboxRow>& row) { return std::string(row.param.what); });

struct FitRow {
    const char* what;
    QSize workArea;
    int frameWidth;
    int frameHeight;  // caption, borders and menu bar
    int outerWidth;
};

void PrintTo(const FitRow& row, std::ostream* out) {
    *out << row.what;
}

class FittingOuterWidth : public ::testing::TestWithParam<FitRow> {};

TEST_P(FittingOuterWidth, IsTheWidestStartWindowThatFitsTheWorkArea) {
    const FitRow& row = GetParam();
    const int outer = WindowArithmetic::FittingOuterWidth(
        row.workArea, row.frameWidth, row.frameHeight, WindowArithmetic::kStartWidth);
    EXPECT_EQ(outer, row.outerWidth);
    const auto height = [&](int outerWidth) {
        const int client = outerWidth - row.frameWidth;
        return WindowArithmetic::AspectOuterHeight(client, client + row.frameHeight, client);
    };
    if (outer > row.frameWidth) {
        EXPECT_LE(outer, row.workArea.width());
        EXPECT_LE(height(outer), row.workArea.height());
    }
    // The widest: a pixel more would not fit, unless the start width itself was reached.
    if (outer < WindowArithmetic::kStartWidth && outer > 1) {
        EXPECT_TRUE(outer + 1 > row.workArea.width() || height(outer + 1) > row.workArea.height());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FittingOuterWidth,
    ::testing::Values(FitRow{"screen_1024x768", {1024, 768}, 2, 54, 800},
                      FitRow{"screen_1920x1080", {1920, 1080}, 2, 54, 800},
                      // 1366 × 768 less a 40-pixel panel still takes the whole start window.
                      FitRow{"screen_1366x768_with_panel", {1366, 728}, 2, 54, 800},
                      // The height of the rule is cut: 734 × 3/4 + 50 = 600.5 gives 600.
                      FitRow{"netbook_1024x600", {1024, 600}, 2, 50, 736},
                      FitRow{"netbook_with_panel", {1024, 560}, 2, 50, 683},
                      FitRow{"screen_800x600", {800, 600}, 0, 50, 734},
                      FitRow{"narrower_than_the_window", {640, 1024}, 10, 50, 640},
                      FitRow{"no_room_at_all", {100, 40}, 2, 50, 1}),
    [](const ::testing::TestParamInfo<FitRow>& row) { return std::string(row.param.what); });

struct InsideRow {
    const char* what;
    QRect outer;
    QRect workArea;
    QPoint place;
};

void PrintTo(const InsideRow& row, std::ostream* out) {
    *out << row.what;
}

class KeptInside : public ::testing::TestWithParam<InsideRow> {};

TEST_P(KeptInside, MovesTheWindowOnlyAsFarAsItMust) {
    const InsideRow& row = GetParam();
    EXPECT_EQ(WindowArithmetic::KeptInside(row.outer, row.workArea), row.place);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KeptInside,
    ::testing::Values(
        InsideRow{"already_inside", {112, 63, 800, 642}, {0, 0, 1024, 768}, {112, 63}},
        InsideRow{"panel_at_the_top", {283, 40, 800, 650}, {0, 60, 1366, 708}, {283, 60}},
        InsideRow{"panel_at_the_bottom", {283, 90, 800, 650}, {0, 0, 1366, 728}, {283, 78}},
        InsideRow{"off_the_left", {-80, -21, 734, 600}, {0, 0, 800, 600}, {0, 0}},
        InsideRow{"larger_than_the_work_area", {-10, 5, 900, 700}, {0, 0, 800, 600}, {0, 0}}),
    [](const ::testing::TestParamInfo<InsideRow>& row) { return std::string(row.param.what); });

}  // namespace
}  // namespace sumbrook
