#include "app/open_sizing.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

TEST(OpenSizing, TheNearestEntryAndAWholeFile) {
    struct Case {
        uint32_t count;
        int32_t current;
        int32_t advice;
        int entry;
        int32_t buffer;
    };
    const Case cases[] = {
        {1048576, 0, 16'990'208, 0, 1048576},  // 0.048576 rounds to entry 0
        {2031616, 0, 16'990'208, 1, 2031616},  // every size the list makes reopens itself
        {8060928, 0, 16'990'208, 7, 8060928},
        {16777216, 0, 20'000'000, 16, 17039360},
        {1500000, 0, 16'990'208, 0, 1507328},  // entry 0 cuts it short: whole blocks instead
        {2500000, 0, 16'990'208, 2, 3014656},  // 1.5 rounds to even: entry 2 holds it
        {65536, 4063232, 16'990'208, -1, 4063232}, // no entry: the buffer keeps its size
        {65536, 0, 16'990'208, -1, 65536},
        {8060928, 0, 2'000'000, -1, 0},        // beyond the advice: nothing it could allocate
    };
    for (const Case& c : cases) {
        const OpenSizing sizing = SizeForOpen(c.count, c.current, c.advice);
        EXPECT_EQ(sizing.sizeEntry, c.entry) << c.count;
        EXPECT_EQ(sizing.bufferSamples, c.buffer) << c.count;
    }
}

} // namespace
} // namespace norrik
