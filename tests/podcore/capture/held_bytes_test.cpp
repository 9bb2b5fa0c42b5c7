// Bytes taken from the front of the held bytes come out in the order they went in, across the
// moves that keep holding linear, and nothing is reallocated within the reserve.
#include "capture/held_bytes.h"

#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <vector>

namespace capture_test {
namespace {

using podcore::capture::HeldBytes;

TEST(HeldBytes, TakesBytesInArrivalOrderWithinItsReserve) {
    struct Step {
        size_t append;
        size_t consume;
    };
    const std::vector<std::vector<Step>> scripts = {
        {{10, 3}, {10, 3}, {10, 3}, {0, 21}},      // a tail longer than what was taken
        {{100, 60}, {5, 30}, {50, 65}},            // taken past the middle, then emptied
        {{1, 0}, {1, 1}, {1, 1}, {1, 1}, {0, 1}},  // one byte behind all along
        {{4096, 4095}, {4096, 1}, {0, 4096}},
    };
    std::vector<uint8_t> source(8192);
    std::iota(source.begin(), source.end(), uint8_t{0});
    for (size_t s = 0; s < scripts.size(); ++s) {
        SCOPED_TRACE(s);
        HeldBytes held;
        held.Reserve(8192);
        const uint8_t* const storage = held.Data();
        std::deque<uint8_t> expected;
        size_t next = 0;
        for (const Step& step : scripts[s]) {
            held.Append(source.data() + next, step.append);
            expected.insert(expected.end(), source.begin() + next,
                            source.begin() + next + step.append);
            next += step.append;
            ASSERT_EQ(held.Size(), expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), held.Data()));
            held.Consume(step.consume);
            expected.erase(expected.begin(), expected.begin() + step.consume);
            ASSERT_EQ(held.Size(), expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), held.Data()));
            EXPECT_GE(held.Data(), storage);
            EXPECT_LT(held.Data(), storage + 8192) << "the reserve was reallocated";
        }
    }
}

} // namespace
} // namespace capture_test
