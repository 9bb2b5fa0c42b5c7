#include "view/scroll_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace norrik {
namespace {

TEST(RepeatingScroll, IntervalShrinksToTwoMilliseconds) {
    std::vector<int> intervals;
    int interval = kFirstScrollIntervalMs;
    for (int tick = 0; tick < 18; ++tick) {
        interval = NextScrollInterval(interval);
        intervals.push_back(interval);
    }
    const std::vector<int> expected = {188, 141, 106, 80, 60, 45, 34, 26, 20,
                                       15,  11,  8,   6,  4,  3,  2,  2,  2};
    EXPECT_EQ(intervals, expected);
}

TEST(RepeatingScroll, StepGrowsFromTheTwelfthTickToItsCap) {
    int interval = kFirstScrollIntervalMs;
    int32_t step = kFirstScrollStep;
    std::vector<int32_t> steps;
    int capTick = 0;
    for (int tick = 1; tick <= 100; ++tick) {
        interval = NextScrollInterval(interval);
        step = NextScrollStep(step, interval);
        steps.push_back(step);
        if (step == kMaxScrollStep && capTick == 0)
            capTick = tick;
    }
    EXPECT_EQ(steps[10], 50);
    const std::vector<int32_t> growing(steps.begin() + 11, steps.begin() + 19);
    EXPECT_EQ(growing, (std::vector<int32_t>{55, 61, 67, 74, 81, 89, 98, 108}));
    EXPECT_EQ(capTick, 87);
    EXPECT_EQ(steps.back(), kMaxScrollStep);
}

TEST(ScrolledStart, MovesByTheZoomsStep) {
    struct Case {
        int32_t screenStart, scale, subScale;
        ScrollDirection direction;
        int32_t step;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {0, 1939, 0, ScrollDirection::Left, 50, -97000},
        {0, 1, 0, ScrollDirection::Right, 50, 100},
        {1000, 0, 4, ScrollDirection::Left, 50, 988}, // 987.5 to even
        {1000, 0, 4, ScrollDirection::Right, 50, 1012},
        {1000, 0, 128, ScrollDirection::Right, 65536, 1512},
        // A coarse zoom at the capped step would leave the 32-bit range: no move.
        {0, 1 << 21, 0, ScrollDirection::Right, 65536, std::nullopt},
        {0, 1 << 21, 0, ScrollDirection::Left, 65536, std::nullopt},
        {2147483600, 1, 0, ScrollDirection::Right, 50, std::nullopt},
    };
    for (const Case& c : cases) {
        AppState state;
        state.ScreenStart = c.screenStart;
        state.Scale = c.scale;
        state.SubScale = c.subScale;
        EXPECT_EQ(ScrolledStart(state, c.direction, c.step), c.expected)
            << c.screenStart << " " << c.scale << "/" << c.subScale;
    }
}

TEST(ScreenScrolledStart, MovesByTheSpanOfARow) {
    struct Case {
        int32_t screenStart, scale, subScale;
        ScrollDirection direction;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {1000, 8, 0, ScrollDirection::Right, 1000 + 649 * 8},
        {1000, 8, 0, ScrollDirection::Left, 1000 - 649 * 8},
        {1000, 0, 4, ScrollDirection::Right, 1162}, // 162.25 samples
        {1000, 0, 128, ScrollDirection::Left, 995}, // 5.07 samples
        {2147483000, 2, 0, ScrollDirection::Right, std::nullopt},
        {-2147483000, 2, 0, ScrollDirection::Left, std::nullopt},
    };
    for (const Case& c : cases) {
        AppState state;
        state.ScreenStart = c.screenStart;
        state.Scale = c.scale;
        state.SubScale = c.subScale;
        EXPECT_EQ(ScreenScrolledStart(state, c.direction, 649), c.expected)
            << c.screenStart << " " << c.scale << "/" << c.subScale;
    }
}

} // namespace
} // namespace norrik
