#include "analysis/bit_fold.h"
#include "analysis/buffer_summary.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using podcore::analysis::BitFold;
using podcore::analysis::BufferSummary;
using podcore::analysis::FoldSamples;

// Every range of a buffer folds the same through the summary as sample by sample, whatever the
// buffer's length (no whole block, a partial last block, many levels).
TEST(BufferSummary, FoldsEveryRangeLikeTheSamples) {
    std::mt19937 rng(77);
    for (uint32_t count : {0u, 1u, 63u, 64u, 1000u, 65536u, 300'007u}) {
        const std::vector<uint32_t> samples = testing_support::SignalLikeSamples(count, rng);
        BufferSummary summary;
        summary.Build(samples.data(), count);
        EXPECT_LE(summary.MemoryBytes(), size_t{count} * 4 / 25) << count;

        std::uniform_int_distribution<uint64_t> index(0, count);
        for (int trial = 0; trial < 2000; ++trial) {
            uint64_t begin = index(rng);
            uint64_t end = index(rng);
            if (trial % 4 == 0) // snap to block edges, where the off-by-ones live
                begin = begin / BufferSummary::kBaseBlock * BufferSummary::kBaseBlock;
            if (begin > end)
                std::swap(begin, end);
            const BitFold expected = FoldSamples(samples.data() + begin, end - begin);
            ASSERT_EQ(summary.Fold(samples.data(), begin, end), expected)
                << "count " << count << " range " << begin << ".." << end;
        }
    }
}

TEST(BufferSummary, LevelsGrowWithTheBuffer) {
    const std::vector<uint32_t> samples(1 << 20, 0x5);
    struct Case {
        uint32_t count;
        size_t levels;
    };
    // 64-sample blocks, joined 16 at a time while a whole group exists.
    for (const Case& c : {Case{63, 0}, Case{64, 1}, Case{1023, 1}, Case{1024, 2},
                          Case{16384, 3}, Case{1 << 20, 4}}) {
        BufferSummary summary;
        summary.Build(samples.data(), c.count);
        EXPECT_EQ(summary.Levels(), c.levels) << c.count;
    }
    BufferSummary summary;
    summary.Build(nullptr, 1 << 20);
    EXPECT_EQ(summary.Levels(), 0u);
}

// A summary filled range by range, in any order and with ranges that split the coarser blocks,
// ends up as the one built in one pass.
TEST(BufferSummary, RangesInAnyOrderAddUpToTheBuild) {
    std::mt19937 rng(5);
    constexpr uint32_t kBlock = BufferSummary::kBaseBlock;
    for (uint32_t count : {64u, 3u * 65536, 300'032u, 1u << 20}) {
        const std::vector<uint32_t> samples = testing_support::SignalLikeSamples(count, rng);
        std::vector<std::pair<uint32_t, uint32_t>> ranges; // first, count
        std::uniform_int_distribution<uint32_t> blocks(1, 300);
        for (uint32_t first = 0; first < count;) {
            const uint32_t length = std::min(blocks(rng) * kBlock, count - first);
            ranges.emplace_back(first, length);
            first += length;
        }
        std::shuffle(ranges.begin(), ranges.end(), rng);

        BufferSummary pieces;
        pieces.Resize(count);
        for (const auto& [first, length] : ranges)
            pieces.SummariseRange(samples.data(), first, length);
        BufferSummary whole;
        whole.Build(samples.data(), count);
        EXPECT_EQ(pieces, whole) << count;
    }
}

// Rotating the summary with its samples gives the summary of the rotated samples, whether the
// shift moves the coarser blocks whole or cuts through them, and whether the coarsest levels
// cover the whole buffer or stop short of it.
TEST(BufferSummary, RotationFollowsTheSamples) {
    struct Case {
        uint32_t count;
        uint32_t shift;
    };
    std::mt19937 rng(9);
    for (const Case& c : {Case{1u << 20, 65536}, Case{1u << 20, 262144}, Case{1u << 20, 0},
                          Case{5 * 65536, 2 * 65536}, Case{3 * 65536, 64},
                          Case{64'000, 17 * 64}, Case{8 * 65536, 7 * 65536}}) {
        std::vector<uint32_t> samples = testing_support::SignalLikeSamples(c.count, rng);
        BufferSummary rotated;
        rotated.Build(samples.data(), c.count);
        rotated.RotateLeft(c.shift);
        std::rotate(samples.begin(), samples.begin() + c.shift, samples.end());
        BufferSummary expected;
        expected.Build(samples.data(), c.count);
        EXPECT_EQ(rotated, expected) << c.count << " by " << c.shift;
    }
}

TEST(BufferSummary, TruncationKeepsThePrefix) {
    std::mt19937 rng(13);
    constexpr uint32_t kCount = 1u << 20;
    const std::vector<uint32_t> samples = testing_support::SignalLikeSamples(kCount, rng);
    for (uint32_t count : {0u, 63u, 64u, 1024u, 65536u, 300'000u, kCount - 1, kCount}) {
        BufferSummary cut;
        cut.Build(samples.data(), kCount);
        cut.Truncate(count);
        BufferSummary expected;
        expected.Build(samples.data(), count);
        EXPECT_EQ(cut, expected) << count;
        EXPECT_EQ(cut.SummarisedSamples(), count / 64 * 64) << count;
    }
}

} // namespace
