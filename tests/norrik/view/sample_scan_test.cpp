#include "view/sample_scan.h"
#include "view/trigger_find.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace norrik {
namespace {

// Bit 3 high at samples 100 to 199 only, in a buffer of 1000 samples.
std::vector<uint32_t> PulseOnBit3() {
    std::vector<uint32_t> samples(1000, 0xF0);
    for (int k = 100; k < 200; ++k)
        samples[static_cast<size_t>(k)] |= 0x08;
    return samples;
}

TEST(SearchStep, GivesTheLibrarySearchResults) {
    const std::vector<uint32_t> samples = PulseOnBit3();
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
        const int32_t found = c.forward ? SearchStepForward(samples, high, c.from)
                                        : SearchStepBackward(samples, high, c.from);
        EXPECT_EQ(found, c.expected) << (c.forward ? "forward from " : "backward from ") << c.from;
    }
}

TEST(SearchStep, FindsLinesAboveTheLowByteAndNothingInAnEmptyBuffer) {
    std::vector<uint32_t> samples(300, 0);
    samples[250] = 1u << 20; // VDD
    EXPECT_EQ(SearchStepForward(samples, {1u << 20, 1u << 20}, 0), 251);
    EXPECT_EQ(SearchStepBackward(samples, {1u << 20, 1u << 20}, 300), 251);
    EXPECT_EQ(SearchStepBackward(samples, {1u << 20, 0}, 252), 250);
    EXPECT_EQ(SearchStepForward({}, {1, 1}, 0), 0);
    EXPECT_EQ(SearchStepBackward({}, {1, 1}, 10), -1);
}

// Matches in every position relative to the stretches tested together, against a plain walk.
TEST(MatchScan, AgreesWithAPlainWalkAcrossStretchBoundaries) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const auto size = static_cast<uint32_t>(random() % 400);
        std::vector<uint32_t> samples(size, 0);
        for (int hits = static_cast<int>(random() % 4); hits > 0 && size > 0; --hits)
            samples[random() % size] = 0x10000;
        const uint32_t first = size == 0 ? 0 : static_cast<uint32_t>(random() % size);
        const uint32_t end = first + static_cast<uint32_t>(random() % (size - first + 20));
        const SampleStep step{0x10000, 0x10000};
        std::optional<uint32_t> plainFirst;
        std::optional<uint32_t> plainLast;
        for (uint32_t k = first; k < std::min(end, size); ++k) {
            if (samples[k] != 0) {
                if (!plainFirst)
                    plainFirst = k;
                plainLast = k;
            }
        }
        EXPECT_EQ(FirstMatch(samples, first, end, step), plainFirst) << round;
        EXPECT_EQ(LastMatch(samples, first, end, step), plainLast) << round;
    }
}

// Step 1: bit 0 high; step 2: bit 16 high. Occurrences are placed at known samples.
class TriggerFind : public testing::Test {
protected:
    TriggerPattern pattern{{0x1, 0x1}, {0x10000, 0x10000}};
    std::vector<uint32_t> samples = std::vector<uint32_t>(100000, 0);

    void Put(size_t index, uint32_t bits) { samples[index] |= bits; }

    // The targets Find Next visits from sample 0 on, in order.
    std::vector<int32_t> ForwardWalk() const {
        std::vector<int32_t> targets;
        for (int32_t t = FindTriggerForward(samples, pattern, 0); t >= 0;
             t = FindTriggerForward(samples, pattern, int64_t{t} + 1))
            targets.push_back(t);
        return targets;
    }

    std::vector<int32_t> BackwardWalk(int64_t from) const {
        std::vector<int32_t> targets;
        for (int32_t t = FindTriggerBackward(samples, pattern, from); t >= 0;
             t = FindTriggerBackward(samples, pattern, t))
            targets.insert(targets.begin(), t);
        return targets;
    }
};

TEST_F(TriggerFind, LandsOnTheSampleAfterEachStepTwoMatchBothWays) {
    for (size_t at : {1000, 20000, 20100, 65535, 99000}) {
        Put(at, 0x1);
        Put(at + 7, 0x10000);
    }
    const std::vector<int32_t> expected = {1008, 20008, 20108, 65543, 99008};
    EXPECT_EQ(ForwardWalk(), expected);
    EXPECT_EQ(BackwardWalk(100000), expected);
}

TEST_F(TriggerFind, StepTwoCountsOnlyAfterStepOne) {
    Put(500, 0x10000);       // step 2 with no step 1 before it
    Put(600, 0x1 | 0x10000); // both at once: step 2 must come later
    Put(640, 0x10000);
    Put(700, 0x1); // step 1 repeated before step 2
    Put(710, 0x1);
    Put(800, 0x10000);
    Put(900, 0x1); // step 1 without a step 2 after it
    const std::vector<int32_t> expected = {641, 801};
    EXPECT_EQ(ForwardWalk(), expected);
    EXPECT_EQ(BackwardWalk(100000), expected);
    EXPECT_EQ(FindTriggerForward(samples, pattern, 701), 801);  // from the later step 1
    EXPECT_EQ(FindTriggerBackward(samples, pattern, 801), 641); // strictly before the centre
    EXPECT_EQ(FindTriggerBackward(samples, pattern, 802), 801);
}

TEST_F(TriggerFind, ReportsNoOccurrenceAtTheEdgesOfTheBuffer) {
    EXPECT_EQ(FindTriggerForward(samples, pattern, 0), -1);
    EXPECT_EQ(FindTriggerBackward(samples, pattern, 100000), -1);
    Put(10, 0x1);
    Put(99999, 0x10000); // the target is the sample just past the end
    EXPECT_EQ(FindTriggerForward(samples, pattern, -5000), 100000);
    EXPECT_EQ(FindTriggerForward(samples, pattern, 11), -1);
    EXPECT_EQ(FindTriggerForward(samples, pattern, 100000), -1);
    EXPECT_EQ(FindTriggerBackward(samples, pattern, 100001), 100000);
    EXPECT_EQ(FindTriggerBackward(samples, pattern, 100000), -1);
    EXPECT_EQ(FindTriggerBackward(samples, pattern, -3), -1);
    EXPECT_EQ(FindTriggerBackward({}, pattern, 10), -1);
}

TEST(TriggerFindPattern, TakesTheFirstTwoStepsOfTheTriggerSteps) {
    std::array<uint32_t, 257> steps{};
    steps[0] = 8;
    steps[1] = 8;
    steps[2] = 1u << 20;
    steps[3] = 0;
    const TriggerPattern pattern = PatternOfSteps(steps);
    EXPECT_EQ(pattern.first.mask, 8u);
    EXPECT_EQ(pattern.first.value, 8u);
    EXPECT_EQ(pattern.second.mask, 1u << 20);
    EXPECT_EQ(pattern.second.value, 0u);
}

} // namespace
} // namespace norrik
