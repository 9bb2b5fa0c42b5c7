#include "view/view_geometry.h"
#include "view/zoom_setting.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

constexpr int kRowWidth = 649;

AppState Zoomed(int32_t scale, int32_t subScale, int32_t bufferSamples = 1048576) {
    AppState state;
    state.Scale = scale;
    state.SubScale = subScale;
    state.BufferSamples = bufferSamples;
    return state;
}

TEST(CenterViewOn, PutsTheSampleAtTheCentreRoundingHalvesToEven) {
    struct Case {
        int32_t scale, subScale, expectedStart;
    };
    const Case cases[] = {
        {1, 0, 676}, // 1000 - 324.5 = 675.5
        {2, 0, 351},
        {0, 2, 838}, // 1000 - 162.25 = 837.75
        {0, 128, 997},
    };
    for (const Case& c : cases) {
        AppState state = Zoomed(c.scale, c.subScale);
        CenterViewOn(state, 1000, kRowWidth);
        EXPECT_EQ(state.ScreenStart, c.expectedStart) << c.scale << "/" << c.subScale;
        EXPECT_EQ(state.CenterSample, 1000);
    }
}

TEST(CenterCheck, AfterZoomAllKeepsTheViewAndRecordsTheCentre) {
    AppState state = Zoomed(0, 0);
    const ZoomSetting zoom = ReadZoomSetting(ZoomAllSetting(state, kRowWidth));
    state.Scale = zoom.Scale;
    state.SubScale = zoom.SubScale;
    CenterCheck(state, kRowWidth);
    EXPECT_EQ(state.CenterSample, 524348); // 524347.5 to the even neighbour
    EXPECT_EQ(state.ScreenStart, -104858);
}

TEST(CenterCheck, RecentresOnTheBufferEdgesWhenTheCentreLeftTheBuffer) {
    struct Case {
        int32_t scale, screenStart, expectedStart, expectedCenter;
    };
    const Case cases[] = {
        {3, -5000 - 974, -974, 0},             // centre at -5000: start -973.5 to even
        {1, -325, -325, 0},                    // centre at -0.5 rounds to 0: stays
        {1, 1048576, 1048576 - 324, 1048576},  // centre beyond the end
        {2, 1048576 - 649, 1048576 - 649, 1048576}, // centre exactly at the end: recentred
        {1000, 0, 0, 324500},
    };
    for (const Case& c : cases) {
        AppState state = Zoomed(c.scale, 0);
        state.ScreenStart = c.screenStart;
        CenterCheck(state, kRowWidth);
        EXPECT_EQ(state.ScreenStart, c.expectedStart) << c.scale << " @ " << c.screenStart;
        EXPECT_EQ(state.CenterSample, c.expectedCenter) << c.scale << " @ " << c.screenStart;
    }
}

TEST(CenterCheck, WithoutABufferCentresOnSampleZero) {
    AppState state = Zoomed(2, 0, 0);
    state.ScreenStart = 5000;
    CenterCheck(state, kRowWidth);
    EXPECT_EQ(state.CenterSample, 0);
    EXPECT_EQ(state.ScreenStart, -649);
}

TEST(ViewGeometry, ColumnsAndSpansFollowTheZoom) {
    AppState out = Zoomed(1939, 0);
    out.ScreenStart = -104858;
    EXPECT_DOUBLE_EQ(VisibleSpan(out, kRowWidth), 649.0 * 1939);
    EXPECT_NEAR(ColumnOfSample(out, 0), 54.078, 1e-3);
    EXPECT_DOUBLE_EQ(ColumnOfSample(out, -104858), 0);

    AppState in = Zoomed(0, 4);
    in.ScreenStart = 100;
    EXPECT_DOUBLE_EQ(VisibleSpan(in, kRowWidth), 649.0 / 4);
    EXPECT_DOUBLE_EQ(ColumnOfSample(in, 110), 40);
}

TEST(ViewGeometry, AZoomNeverReadStillGivesFiniteResults) {
    AppState state = Zoomed(0, 0);
    CenterViewOn(state, 1000, kRowWidth);
    EXPECT_EQ(state.ScreenStart, 676);
    EXPECT_DOUBLE_EQ(ColumnOfSample(state, 700), 24);
}

TEST(ViewGeometry, ExtremeViewsSaturateInsteadOfWrapping) {
    AppState state = Zoomed(kMaxScale, 0, 1 << 30);
    CenterViewOn(state, -2147483647 - 1, kRowWidth);
    EXPECT_EQ(state.ScreenStart, -2147483647 - 1);
    CenterCheck(state, kRowWidth);
    EXPECT_EQ(state.CenterSample, 0);
    EXPECT_LT(state.ScreenStart, 0);
}

} // namespace
} // namespace norrik
