// Sample times against the exact rounding worked out in 128 bits, at every capture rate in the
// units the text formats use, for indices up to the largest a capture can hold and beyond.
#include "app/acquisition_settings.h"
#include "interchange/sample_times.h"

#include <gtest/gtest.h>

#include <vector>

namespace norrik::interchange {
namespace {

uint64_t ExactlyRounded(uint64_t i, uint64_t unitsPerSecond, uint64_t rateHz) {
    const unsigned __int128 twice = static_cast<unsigned __int128>(i) * unitsPerSecond * 2;
    return static_cast<uint64_t>((twice + rateHz) / (2 * static_cast<unsigned __int128>(rateHz)));
}

TEST(SampleTimes, RoundToTheNearestUnitAtEveryRate) {
    std::vector<uint64_t> indices = {0, 1, 2, 3, 5, 7, 11, 47, 48, 49, 999'999, 16'777'215,
                                     16'777'216, 123'456'789, uint64_t{1} << 32, 1'099'511'627'775};
    for (uint64_t i = 0; i < 200; ++i)
        indices.push_back(i);
    for (const uint64_t units : {uint64_t{1'000'000'000}, uint64_t{1'000'000'000'000}}) {
        for (const RateChoice& rate : kRates) {
            const uint64_t hz = *RateHzOfCode(rate.code);
            const SampleTimes times(units, hz);
            for (const uint64_t i : indices)
                ASSERT_EQ(times.At(i), ExactlyRounded(i, units, hz)) << i << " at " << hz << " Hz";
        }
    }
}

TEST(SampleTimes, HalvesRoundUpAtRatesThatAreNoCaptureRate) {
    // 1/2, 3/2 and 5/2 units: each half goes up.
    const SampleTimes halves(1, 2);
    EXPECT_EQ(halves.At(1), 1u);
    EXPECT_EQ(halves.At(3), 2u);
    EXPECT_EQ(halves.At(5), 3u);
    // A rate sharing no factor with the unit keeps its whole fraction: 7/3 and 14/3.
    const SampleTimes thirds(7, 3);
    EXPECT_EQ(thirds.At(1), 2u);
    EXPECT_EQ(thirds.At(2), 5u);
}

} // namespace
} // namespace norrik::interchange
