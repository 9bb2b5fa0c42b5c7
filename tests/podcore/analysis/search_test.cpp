#include "reference_analysis.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

class SearchTest : public testing_support::LibraryBufferTest {};

struct SearchCase {
    const char* name;
    std::vector<uint8_t> pattern;
    uint32_t from;
    bool forward;
    int32_t expected;
};

void ExpectSearches(const SearchCase* begin, const SearchCase* end) {
    for (const SearchCase* c = begin; c != end; ++c) {
        const auto steps = static_cast<uint32_t>(c->pattern.size() / 2);
        EXPECT_EQ(SearchForTrigger(c->pattern.data(), steps, c->from, c->forward ? 1 : 0),
                  c->expected)
            << c->name;
    }
}

// Bit 3 is high at samples 100 to 199 only; bit 0 is high at 0-9 and 20-29 only.
std::vector<uint32_t> PulseSamples() {
    std::vector<uint32_t> samples(65536, 0);
    for (uint32_t i = 100; i < 200; ++i)
        samples[i] |= 0x08;
    for (uint32_t i : {0, 20})
        for (uint32_t k = i; k < i + 10; ++k)
            samples[k] |= 0x01;
    return samples;
}

TEST_F(SearchTest, FindsPulseEdgesBothWays) {
    ASSERT_NE(LoadBuffer(PulseSamples(), 65536), nullptr);
    const std::vector<uint8_t> bit3High = {0x08, 0x08};
    const std::vector<uint8_t> rise0 = {0x01, 0x00, 0x01, 0x01};
    const std::vector<uint8_t> fall0 = {0x01, 0x01, 0x01, 0x00};
    const SearchCase cases[] = {
        {"forward from 0", bit3High, 0, true, 101},
        {"forward from inside the pulse", bit3High, 150, true, 151},
        {"forward after the pulse", bit3High, 200, true, -1},
        {"backward from inside the pulse", bit3High, 150, false, 149},
        {"backward: sample 100 lies beyond from - 2", bit3High, 101, false, -1},
        {"backward from 102", bit3High, 102, false, 101},
        {"backward from past the buffer", bit3High, 1'000'000, false, 200},
        {"backward from the top index", bit3High, 0xFFFFFFFFu, false, 200},
        {"backward from 1", bit3High, 1, false, -1},
        {"forward at the end returns from", bit3High, 65536, true, 65536},
        {"forward past the end returns from", bit3High, 70000, true, 70000},
        {"two steps: rising edge after a low", rise0, 0, true, 21},
        {"two steps that never complete", rise0, 21, true, -1},
        {"value outside the mask never matches", {0x01, 0x03}, 0, true, -1},
        {"walk: the second falling edge ends at 31", fall0, 100, false, 31},
        {"walk: second edge beyond from - 2", fall0, 31, false, 11},
        {"walk: second edge at from - 2", fall0, 32, false, 31},
    };
    ExpectSearches(std::begin(cases), std::end(cases));
}

TEST_F(SearchTest, PatternsWithoutStepsAndSearchesWithoutBuffer) {
    const SearchCase noBuffer[] = {
        {"forward skips every step", {0x01, 0x01}, 5, true, 5},
        {"backward finds nothing", {0x01, 0x01}, 5, false, -1},
    };
    ExpectSearches(std::begin(noBuffer), std::end(noBuffer));

    ASSERT_NE(LoadBuffer(PulseSamples(), 65536), nullptr);
    // An empty pattern is met at once going forward; going backward its walk would never move
    // on, so it reports no occurrence instead of hanging.
    const SearchCase noSteps[] = {
        {"forward", {}, 7, true, 7},
        {"backward from 0", {}, 0, false, -1},
        {"backward from 1", {}, 1, false, -1},
        {"backward from 500", {}, 500, false, -1},
    };
    ExpectSearches(std::begin(noSteps), std::end(noSteps));
    EXPECT_EQ(SearchForTrigger(nullptr, 1, 0, 1), -1);
    EXPECT_EQ(SearchForTrigger(nullptr, 1, 500, 0), -1);
}

// The fast paths (chunked scans, the direct backward search for one step, the buffer bound)
// against the plain walk, over signal-like data, one to three steps, and starts that include
// the ends of the buffer.
TEST_F(SearchTest, AgreesWithThePlainWalk) {
    std::mt19937 rng(20261210);
    const std::vector<uint32_t> samples = testing_support::SignalLikeSamples(65536, rng);
    ASSERT_NE(LoadBuffer(samples, 65536), nullptr);

    std::uniform_int_distribution<uint32_t> steps(1, 3);
    std::uniform_int_distribution<uint32_t> from(0, 66000);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<uint8_t> pattern;
        const uint32_t stepCount = steps(rng);
        for (uint32_t s = 0; s < stepCount; ++s) {
            const auto mask = static_cast<uint8_t>(byte(rng));
            // Mostly a value the mask can produce; now and then one it cannot.
            const int value = trial % 17 == 0 ? byte(rng) : byte(rng) & mask;
            pattern.insert(pattern.end(), {mask, static_cast<uint8_t>(value)});
        }
        const uint32_t start = trial % 10 == 0 ? 65536 - trial % 3 : from(rng);
        for (bool forward : {true, false}) {
            ASSERT_EQ(SearchForTrigger(pattern.data(), stepCount, start, forward ? 1 : 0),
                      reference::Search(samples, pattern, start, forward))
                << "trial " << trial << " from " << start << (forward ? " forward" : " backward")
                << " mask " << int{pattern[0]} << " value " << int{pattern[1]};
        }
    }
}

} // namespace
