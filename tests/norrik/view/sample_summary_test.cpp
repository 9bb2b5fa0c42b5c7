#include "view/sample_summary.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace norrik {
namespace {

constexpr uint32_t kBlock = SampleSummary::kBlockSamples;

// The one-step searches read the samples through a summary, or through a blank one as while a
// capture writes them; both ways they give the library's results.
class SearchStep : public testing::TestWithParam<bool> {
protected:
    SampleSummary Of(std::span<const uint32_t> samples) const {
        return GetParam() ? SampleSummary(samples) : SampleSummary::Blank(samples);
    }
};

INSTANTIATE_TEST_SUITE_P(Summaries, SearchStep, testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "Summarised" : "Blank");
});

// Bit 3 high at samples 100 to 199 only, in a buffer of 1000 samples.
std::vector<uint32_t> PulseOnBit3() {
    std::vector<uint32_t> samples(1000, 0xF0);
    for (int k = 100; k < 200; ++k)
        samples[static_cast<size_t>(k)] |= 0x08;
    return samples;
}

TEST_P(SearchStep, GivesTheLibrarySearchResults) {
    const std::vector<uint32_t> samples = PulseOnBit3();
    const SampleSummary summary = Of(samples);
    const SampleStep high{0x08, 0x08};
    struct Case {
        bool forward;
        uint32_t from;
        int32_t expected;
    };
    const Case cases[] = {
        {true, 0, 101},     {true, 150, 151},  {true, 200, -1},    {true, 1000, 1000},
        {true, 5000, 5000}, {false, 150, 149}, {false, 101, -1},   {false, 102, 101},
        {false, 0, -1},     {false, 1, -1},    {false, 5000, 200},
    };
    for (const Case& c : cases) {
        const int32_t found = c.forward ? SearchStepForward(summary, high, c.from)
                                        : SearchStepBackward(summary, high, c.from);
        EXPECT_EQ(found, c.expected) << (c.forward ? "forward from " : "backward from ") << c.from;
    }
}

TEST_P(SearchStep, FindsLinesAboveTheLowByteAndNothingInAnEmptyBuffer) {
    std::vector<uint32_t> samples(300, 0);
    samples[250] = 1u << 20; // VDD
    const SampleSummary summary = Of(samples);
    EXPECT_EQ(SearchStepForward(summary, {1u << 20, 1u << 20}, 0), 251);
    EXPECT_EQ(SearchStepBackward(summary, {1u << 20, 1u << 20}, 300), 251);
    EXPECT_EQ(SearchStepBackward(summary, {1u << 20, 0}, 252), 250);
    EXPECT_EQ(SearchStepForward(Of({}), {1, 1}, 0), 0);
    EXPECT_EQ(SearchStepBackward(Of({}), {1, 1}, 10), -1);
}

// A line quiet for blocks on end with one short pulse, and a line that never changes, in a
// buffer whose last block is a short one.
TEST_P(SearchStep, ReachesTheEdgesAcrossQuietBlocks) {
    std::vector<uint32_t> samples(5 * kBlock + 100, 0x10);
    const uint32_t pulse = 3 * kBlock + 5;
    for (uint32_t k = pulse; k < pulse + 4; ++k)
        samples[k] |= 1u << 20;
    samples.back() |= 1u << 20;
    const SampleSummary summary = Of(samples);
    const SampleStep high{1u << 20, 1u << 20};
    const SampleStep low{1u << 20, 0};
    EXPECT_EQ(SearchStepForward(summary, high, 10), int32_t(pulse + 1));
    EXPECT_EQ(SearchStepForward(summary, low, pulse), int32_t(pulse + 5));
    EXPECT_EQ(SearchStepForward(summary, high, pulse + 4), int32_t(samples.size()));
    EXPECT_EQ(SearchStepBackward(summary, high, uint32_t(samples.size()) - 1), int32_t(pulse + 4));
    EXPECT_EQ(SearchStepBackward(summary, low, pulse + 1), int32_t(pulse));
    EXPECT_EQ(SearchStepForward(summary, {0x10, 0}, 0), -1) << "a line that never changes";
    EXPECT_EQ(SearchStepBackward(summary, {0x10, 0}, uint32_t(samples.size())), -1);
}

// Short pulses on two lines next to block boundaries, one line steady through whole blocks;
// ranges of every kind against the plain scans.
TEST(SampleSummary, AgreesWithThePlainScansAroundBlockBoundaries) {
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        std::vector<uint32_t> samples(3 * kBlock + random() % 1000, 0);
        for (int pulses = static_cast<int>(random() % 6); pulses > 0; --pulses) {
            const uint32_t at = (random() % 4) * kBlock + random() % 9 - 4;
            for (uint32_t k = at; k < at + 1 + random() % 6 && k < samples.size(); ++k)
                samples[k] |= 1u << (random() % 2);
        }
        for (uint32_t k = kBlock; k < 2 * kBlock; ++k)
            samples[k] |= 0x4;
        const SampleSummary summary(samples);
        const SampleStep steps[] = {{0x1, 0x1}, {0x1, 0x0}, {0x3, 0x3}, {0x6, 0x6}, {0x4, 0x0}};
        const auto near = [&] {
            const uint32_t boundary = (random() % 5) * kBlock;
            return random() % 2 ? boundary + random() % 9 - 4 : random() % (4 * kBlock);
        };
        for (int range = 0; range < 50; ++range) {
            uint32_t first = near();
            uint32_t end = near();
            if (first > end)
                std::swap(first, end);
            for (const SampleStep& step : steps) {
                ASSERT_EQ(summary.FirstMatch(first, end, step),
                          FirstMatch(samples, first, end, step))
                    << round << ": " << first << ".." << end;
                ASSERT_EQ(summary.LastMatch(first, end, step), LastMatch(samples, first, end, step))
                    << round << ": " << first << ".." << end;
            }
        }
    }
}

TEST(SampleSummary, DescribesOnlyTheSamplesItWasMadeOf) {
    const std::vector<uint32_t> samples(2 * kBlock, 1);
    const std::vector<uint32_t> copy = samples;
    const std::span<const uint32_t> all(samples);
    EXPECT_TRUE(SampleSummary(all).Describes(all));
    EXPECT_FALSE(SampleSummary(all).Describes(copy));
    EXPECT_FALSE(SampleSummary(all).Describes(all.first(kBlock)));
    EXPECT_FALSE(SampleSummary::Blank(all).Describes(all)) << "a blank summary is made again";
    EXPECT_FALSE(SampleSummary().Describes({}));
}

} // namespace
} // namespace norrik
