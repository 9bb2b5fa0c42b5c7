#include "view/sample_scan.h"
#include "view/trigger_find.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace norrik {
namespace {

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
        // The same scans for the samples that do not match, on the inverted buffer.
        std::vector<uint32_t> inverted(samples);
        for (uint32_t& sample : inverted)
            sample ^= 0x10000;
        EXPECT_EQ(FirstMismatch(inverted, first, end, step), plainFirst) << round;
        EXPECT_EQ(LastMismatch(inverted, first, end, step), plainLast) << round;
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

// Find Next and Previous against the rule read plainly: t is a target when t - 1 matches step 2
// and a step-1 match comes before it with no step-2 match in between; a target begins a run of
// targets when t - 1 is none. Next takes the occurrence of the first step-1 match from `from` on
// and, inside a run, the next beginning after it; Previous the latest target below `before` and,
// inside a run, that run's beginning.
class PlainFind {
public:
    PlainFind(const std::vector<uint32_t>& samples, const TriggerPattern& pattern)
        : samples_(samples), pattern_(pattern), target_(samples.size() + 1, false) {
        bool armed = false;
        for (size_t k = 0; k < samples.size(); ++k) {
            if (armed && Matches(k, pattern.second)) {
                target_[k + 1] = true;
                armed = false;
            }
            armed = armed || Matches(k, pattern.first);
        }
    }

    int32_t Next(int64_t from) const {
        int64_t first = std::max<int64_t>(from, 0);
        while (first < Size() && !Matches(size_t(first), pattern_.first))
            ++first;
        int64_t second = first + 1;
        while (second < Size() && !Matches(size_t(second), pattern_.second))
            ++second;
        if (second >= Size())
            return -1;
        for (int64_t t = second + 1; t <= Size(); ++t) {
            if (Begins(t))
                return int32_t(t);
        }
        return -1;
    }

    int32_t Previous(int64_t before) const {
        int64_t t = std::min<int64_t>(before - 1, Size());
        while (t >= 0 && !target_[size_t(t)])
            --t;
        while (t >= 0 && !Begins(t))
            --t;
        return t < 0 ? -1 : int32_t(t);
    }

private:
    int64_t Size() const { return int64_t(samples_.size()); }
    bool Matches(size_t k, SampleStep step) const {
        return (samples_[k] & step.mask) == step.value;
    }
    bool Begins(int64_t t) const { return target_[size_t(t)] && !target_[size_t(t - 1)]; }

    const std::vector<uint32_t>& samples_;
    TriggerPattern pattern_;
    std::vector<bool> target_;
};

// Two lines in runs of random length, every pattern of levels on them (both lines, both steps).
TEST(FindBeginning, AgreesWithThePlainRuleForEveryPatternOfTwoLines) {
    std::mt19937 random(11);
    const SampleStep levels[] = {{0, 0}, {1, 1}, {1, 0}}; // DontCare, High, Low on one line
    for (int round = 0; round < 40; ++round) {
        std::vector<uint32_t> samples(random() % 300);
        uint32_t lines = random() % 4;
        for (size_t k = 0; k < samples.size(); ++k) {
            if (random() % 12 == 0)
                lines ^= 1u << (random() % 2);
            samples[k] = lines;
        }
        for (int code = 1; code < 81; ++code) {
            const auto step = [&](int a, int b) {
                return SampleStep{levels[a].mask | levels[b].mask << 1,
                                  levels[a].value | levels[b].value << 1};
            };
            const TriggerPattern pattern{step(code % 3, code / 3 % 3),
                                         step(code / 9 % 3, code / 27 % 3)};
            const PlainFind plain(samples, pattern);
            for (int64_t at = -2; at <= int64_t(samples.size()) + 2; ++at) {
                ASSERT_EQ(FindBeginningForward(samples, pattern, at), plain.Next(at))
                    << "round " << round << " pattern " << code << " from " << at;
                ASSERT_EQ(FindBeginningBackward(samples, pattern, at), plain.Previous(at))
                    << "round " << round << " pattern " << code << " before " << at;
            }
        }
    }
}

TEST(FindBeginning, CrossesALongRunOfALevelInOnePress) {
    std::vector<uint32_t> samples(200000, 0);
    for (size_t k = 1000; k < 90000; ++k)
        samples[k] = 0x8;
    for (size_t k = 150000; k < 200000; ++k)
        samples[k] = 0x8;
    const TriggerPattern high{{0x8, 0x8}, {0, 0}}; // bit 3 high, then anything
    EXPECT_EQ(FindBeginningForward(samples, high, 0), 1002);
    EXPECT_EQ(FindBeginningForward(samples, high, 1003), 150002);
    EXPECT_EQ(FindBeginningForward(samples, high, 150003), -1) << "the run reaches the end";
    EXPECT_EQ(FindBeginningBackward(samples, high, 150002), 1002);
    EXPECT_EQ(FindBeginningBackward(samples, high, 199000), 150002);
    EXPECT_EQ(FindBeginningBackward(samples, high, 1002), -1);
    const TriggerPattern anything{{0, 0}, {0, 0}};
    EXPECT_EQ(FindBeginningForward(samples, anything, 5), -1);
    EXPECT_EQ(FindBeginningBackward(samples, anything, 5000), -1);
}

// Rise, fall, and a rise of one line while another is high, give targets that stand alone:
// Find goes where it went before, sample for sample.
TEST(FindBeginning, KeepsWhatEdgePatternsFound) {
    std::mt19937 random(5);
    std::vector<uint32_t> samples(5000);
    uint32_t lines = 0;
    for (uint32_t& sample : samples) {
        if (random() % 40 == 0)
            lines ^= 1u << (random() % 2);
        sample = lines;
    }
    const TriggerPattern edges[] = {
        {{0x1, 0x0}, {0x1, 0x1}}, {{0x1, 0x1}, {0x1, 0x0}}, {{0x1, 0x0}, {0x3, 0x3}}};
    for (const TriggerPattern& pattern : edges) {
        for (int64_t at = 0; at <= 5000; at += 7) {
            ASSERT_EQ(FindBeginningForward(samples, pattern, at),
                      FindTriggerForward(samples, pattern, at))
                << at;
            ASSERT_EQ(FindBeginningBackward(samples, pattern, at),
                      FindTriggerBackward(samples, pattern, at))
                << at;
        }
    }
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
