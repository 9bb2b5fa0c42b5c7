#include "analysis/bit_fold.h"
#include "analysis/buffer_summary.h"
#include "test_support.h"

#include <gtest/gtest.h>

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

} // namespace
