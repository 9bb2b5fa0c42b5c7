#include "view/wheel_notches.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace norrik {
namespace {

TEST(WheelNotches, CountsWholeNotchesAndKeepsTheRest) {
    struct Case {
        const char* name;
        std::vector<int> turns;
        std::vector<int> notches;
    };
    const Case cases[] = {
        {"a notch each", {120, 120, -120}, {1, 1, -1}},
        {"two at once", {240, -360}, {2, -3}},
        {"eighths of a notch", {15, 15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {"a rest carried over", {100, 100, 40}, {0, 1, 1}},
        {"reversal drops the rest", {100, -60, -60, 30}, {0, 0, -1, 0}},
        {"no turn", {0, 0}, {0, 0}},
        {"the largest turns", {INT_MAX, INT_MIN}, {INT_MAX / 120, INT_MIN / 120}},
    };
    for (const Case& c : cases) {
        WheelNotches wheel;
        std::vector<int> notches;
        for (const int turn : c.turns)
            notches.push_back(wheel.Add(turn));
        EXPECT_EQ(notches, c.notches) << c.name;
    }
}

} // namespace
} // namespace norrik
