#include "app/trigger_steps.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace norrik {
namespace {

struct StepsCase {
    const char* name;
    std::initializer_list<std::pair<int, uint8_t>> levels; // index, level
    uint32_t mask0, value0, mask1, value1;
};

TEST(BuildTriggerSteps, HighAndLowSetTheMaskOnlyHighSetsTheValue) {
    const StepsCase cases[] = {
        {"all DontCare", {}, 0, 0, 0, 0},
        {"bit 3 High, then bit 3 Low", {{3, kHigh}, {35, kLow}}, 8, 8, 8, 0},
        {"bit 20 High", {{20, kHigh}}, 1u << 20, 1u << 20, 0, 0},
        {"Rise and Fall are ignored", {{5, kRise}, {37, kFall}}, 0, 0, 0, 0},
        {"bit 0 Low and bit 18 High", {{0, kLow}, {18, kHigh}}, 0x40001, 0x40000, 0, 0},
        {"indexes beyond the buttons take no part", {{21, kHigh}, {31, kLow}, {53, kHigh}},
         0, 0, 0, 0},
        {"an unknown level is ignored", {{4, 9}}, 0, 0, 0, 0},
    };
    for (const StepsCase& c : cases) {
        std::array<uint8_t, 257> levels{};
        for (const auto& [index, level] : c.levels)
            levels[static_cast<size_t>(index)] = level;
        std::array<uint32_t, 257> steps{};
        steps.fill(0xDEADBEEF);
        BuildTriggerSteps(levels, 2, steps);
        EXPECT_EQ(steps[0], c.mask0) << c.name;
        EXPECT_EQ(steps[1], c.value0) << c.name;
        EXPECT_EQ(steps[2], c.mask1) << c.name;
        EXPECT_EQ(steps[3], c.value1) << c.name;
        EXPECT_EQ(steps[4], 0xDEADBEEF) << c.name << ": only the two steps are written";
    }
}

TEST(NextTriggerLevel, CyclesDontCareHighLowAndDropsRiseAndFall) {
    const std::pair<uint8_t, uint8_t> cases[] = {
        {kDontCare, kHigh}, {kHigh, kLow}, {kLow, kDontCare}, {kRise, kDontCare},
        {kFall, kDontCare}, {255, kDontCare}};
    for (const auto& [level, next] : cases)
        EXPECT_EQ(NextTriggerLevel(level), next) << int(level);
}

} // namespace
} // namespace norrik
