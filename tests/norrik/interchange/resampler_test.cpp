// Nearest-neighbour resampling against the rule read plainly: new sample j is the old sample at
// tick floor(j x ticks per second / rate), fed as dense runs or as changes.
#include "interchange/resampler.h"

#include <gtest/gtest.h>

#include <random>

namespace norrik::interchange {
namespace {

std::vector<uint32_t> Kept(Resampler& resampler) {
    std::vector<uint32_t> samples(resampler.Result().size());
    resampler.Result().CopyTo(samples.data(), samples.size());
    return samples;
}

TEST(Resampler, FollowsTheRuleForAnyRatioAndAnyFeeding) {
    const Fraction ratios[] = {{24'000'000, 1}, {200'000, 1},        {50'000'000, 1},
                               {2'500'000, 1},  {1'000'000'000, 10}, {1'000'000'000'000'000, 1}};
    const uint64_t rates[] = {1'000'000, 3'000'000, 24'000'000};
    std::mt19937 random(7);
    for (const Fraction ticks : ratios) {
        for (const uint64_t rate : rates) {
            SCOPED_TRACE(std::to_string(ticks.num) + "/" + std::to_string(ticks.den) + " to " +
                         std::to_string(rate));
            // A sparse file: changes at random ticks, each held until the next.
            std::vector<std::pair<uint64_t, uint32_t>> changes;
            uint64_t tick = 0;
            for (int k = 0; k < 200; ++k) {
                changes.emplace_back(tick, uint32_t(random()));
                tick += 1 + random() % (ticks.num / ticks.den / rate * 3 + 3);
            }
            const uint64_t end = tick;
            Resampler resampler(ticks, rate, 1 << 20, 1u << 31);
            for (const auto& [at, word] : changes)
                resampler.Change(at, word);
            const uint64_t total = resampler.Finish(end);
            const std::vector<uint32_t> kept = Kept(resampler);
            ASSERT_EQ(kept.size(), total);
            size_t change = 0;
            for (uint64_t j = 0; j < total; ++j) {
                const auto at = static_cast<uint64_t>(static_cast<unsigned __int128>(j) *
                                                      ticks.num / (ticks.den * rate));
                ASSERT_LT(at, end);
                while (change + 1 < changes.size() && changes[change + 1].first <= at)
                    ++change;
                ASSERT_EQ(kept[j], changes[change].second) << "sample " << j;
            }
            // The sample after the last lies at or past the end.
            ASSERT_GE(
                uint64_t(static_cast<unsigned __int128>(total) * ticks.num / (ticks.den * rate)),
                end);

            // The same file as dense runs of one sample per tick, in uneven pieces.
            if (end > 100'000)
                continue;
            std::vector<uint32_t> dense(end);
            for (size_t k = 0; k < changes.size(); ++k) {
                const uint64_t stop = k + 1 < changes.size() ? changes[k + 1].first : end;
                std::fill(dense.begin() + changes[k].first, dense.begin() + stop,
                          changes[k].second);
            }
            Resampler pieces(ticks, rate, 1 << 20, 1u << 31);
            for (uint64_t first = 0; first < end;) {
                const uint64_t size = std::min<uint64_t>(1 + random() % 97, end - first);
                pieces.Samples(first, {dense.data() + first, size});
                first += size;
            }
            ASSERT_EQ(pieces.Finish(end), total);
            ASSERT_EQ(Kept(pieces), kept);
        }
    }
}

TEST(Resampler, TheLimitCutsAndFarTimesAreNotHeld) {
    Resampler cut({1'000'000, 1}, 1'000'000, 65536, 1u << 31);
    EXPECT_TRUE(cut.Change(0, 5));
    EXPECT_FALSE(cut.Change(100'000, 6));
    EXPECT_EQ(cut.Finish(200'000), 200'000u);
    EXPECT_EQ(cut.Result().size(), 65536u);
    EXPECT_EQ(cut.Result().Last(), 5u);
    EXPECT_FALSE(cut.Beyond());

    Resampler far({1'000'000'000, 1}, 24'000'000, 65536, 1u << 31);
    far.Change(0, 1);
    far.Change(uint64_t{1} << 60, 2);
    far.Finish((uint64_t{1} << 60) + 1);
    EXPECT_TRUE(far.Beyond());
    EXPECT_EQ(far.Result().size(), 0u);
}

} // namespace
} // namespace norrik::interchange
