#include "analysis/column_layout.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using podcore::analysis::ColumnLayout;
using podcore::analysis::LayOutColumns;
using podcore::analysis::ScreenWindow;

struct LayoutCase {
    const char* name;
    uint32_t validSamples;
    ScreenWindow window; // start, length, scale, subscale
    ColumnLayout expected; // lead, end, first
};

TEST(ColumnLayout, BlankColumnsAroundTheData) {
    const LayoutCase cases[] = {
        {"window past the data loses two columns", 1000, {0, 800, 10, 0}, {0, 98, 0}},
        {"window inside the data", 100'000, {0, 800, 10, 0}, {0, 800, 0}},
        {"negative start", 100'000, {-100, 800, 10, 0}, {10, 800, 0}},
        {"negative start, fraction of a column dropped", 100'000, {-105, 800, 10, 0},
         {10, 800, 0}},
        {"negative start and past the data", 1000, {-100, 800, 10, 0}, {10, 108, 0}},
        {"zoomed in past the data", 100, {0, 800, 0, 4}, {0, 398, 0}},
        {"zoomed in, negative start", 100, {-3, 800, 0, 4}, {12, 410, 0}},
        {"zoomed in inside the data", 100'000, {500, 800, 0, 4}, {0, 800, 500}},
        {"one sample per column drops the last two", 100, {0, 800, 1, 0}, {0, 98, 0}},
        {"lead beyond the width", 100'000, {-10000, 800, 10, 0}, {800, 800, 0}},
        {"start at the end of the data", 100, {100, 10, 1, 0}, {0, 0, 100}},
        {"start far past the data", 100, {INT32_MAX, 10, 1, 0}, {0, 0, INT32_MAX}},
        {"nothing captured", 0, {0, 800, 10, 0}, {0, 0, 0}},
        {"data shorter than two columns", 10, {0, 5, 10, 0}, {0, 0, 0}},
        {"window wholly before the data", 1000, {-20000, 5, 10, 0}, {5, 5, 0}},
        {"no columns", 1000, {0, 0, 10, 0}, {0, 0, 0}},
    };
    for (const LayoutCase& c : cases) {
        const ColumnLayout layout = LayOutColumns(c.window, c.validSamples);
        EXPECT_EQ(layout.lead, c.expected.lead) << c.name;
        EXPECT_EQ(layout.end, c.expected.end) << c.name;
        EXPECT_EQ(layout.first, c.expected.first) << c.name;
    }
}

// Zoom fields the caller should never pass, and products that overflow 32 bits: no data column
// may then stand for samples outside the data.
TEST(ColumnLayout, UnusableZoomAndOverflowingProductsReadNothingOutside) {
    const LayoutCase cases[] = {
        {"scale and subscale both 0", 100'000, {0, 800, 0, 0}, {0, 0, 0}},
        {"scale and subscale both set", 100'000, {0, 800, 10, 4}, {0, 0, 0}},
        // (1 + 1) x 2^31 wraps to 0 in 32 bits and would have claimed the window fits.
        {"span of 2^32 samples", 1000, {0, 1, 0x80000000u, 0}, {0, 0, 0}},
        {"span of 2^33 samples wrapping to 0", 1000, {0, 0xFFFFFFFFu, 2, 0}, {0, 498, 0}},
        // 65536 x 65536 wraps to 0 in 32 bits and would have put sample 0 at column 0.
        {"lead of 2^32 columns", 1000, {-65536, 800, 0, 65536}, {800, 800, 0}},
        {"most negative start", 1000, {INT32_MIN, 800, 0, 0xFFFFFFFFu}, {800, 800, 0}},
        {"most negative start zoomed out", 1000, {INT32_MIN, 800, 1, 0}, {800, 800, 0}},
    };
    for (const LayoutCase& c : cases) {
        const ColumnLayout layout = LayOutColumns(c.window, c.validSamples);
        EXPECT_EQ(layout.lead, c.expected.lead) << c.name;
        EXPECT_EQ(layout.end, c.expected.end) << c.name;
        EXPECT_EQ(layout.first, c.expected.first) << c.name;
    }
}

} // namespace
