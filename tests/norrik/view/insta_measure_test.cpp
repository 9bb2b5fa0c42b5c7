#include "view/insta_measure.h"
#include "view/sample_summary.h"

#include <gtest/gtest.h>

#include <vector>

namespace norrik {
namespace {

// Rate code 247, times relative to the trigger at sample 100, one sample per column from 0.
AppState MeasuredView() {
    AppState state;
    state.RateCode = {247, 247};
    state.TriggerSample = 100;
    state.Scale = 1;
    state.BufferSamples = 4096;
    return state;
}

class InstaMeasure : public testing::Test {
protected:
    AppState state = MeasuredView();
    std::vector<uint32_t> samples = std::vector<uint32_t>(4096, 0);

    // High on `bit` over [first, first + length).
    void Pulse(int bit, int first, int length) {
        for (int k = first; k < first + length; ++k)
            samples[static_cast<size_t>(k)] |= 1u << bit;
    }

    InstaMark Measure(InstaMode mode, int bit, int32_t s) {
        const SampleSummary summary(samples);
        const StepSearch search = [&summary](SampleStep step, uint32_t from, bool forward) {
            return forward ? SearchStepForward(summary, step, from)
                           : SearchStepBackward(summary, step, from);
        };
        const InstaEdges edges =
            FindInstaEdges(1u << bit, samples[static_cast<size_t>(s)], s, search);
        return MeasureMark(state, mode, edges, 649);
    }
};

TEST_F(InstaMeasure, WidthOfAPulseInMicroseconds) {
    Pulse(3, 100, 24);
    const InstaMark mark = Measure(InstaMode::Width, 3, 110);
    EXPECT_EQ(mark.left, 100);
    EXPECT_EQ(mark.right, 124);
    EXPECT_EQ(mark.text, " 1.00000799560547 us");
}

TEST_F(InstaMeasure, PeriodAndFrequencyOfASquareWave) {
    for (int first = 100; first < 4000; first += 48)
        Pulse(3, first, 24);
    struct Case {
        InstaMode mode;
        int32_t s;
        const char* text;
    };
    const Case cases[] = {
        {InstaMode::Period, 110, " 2000.016 ns"},
        {InstaMode::Frequency, 110, " 499996 Hz"},
        {InstaMode::Width, 110, " 1.00000799560547 us"},
    };
    for (const Case& c : cases) {
        const InstaMark mark = Measure(c.mode, 3, c.s);
        EXPECT_EQ(mark.text, c.text);
        EXPECT_EQ(mark.left, 100);
        EXPECT_EQ(mark.right, c.mode == InstaMode::Width ? 124 : 148);
    }
}

TEST_F(InstaMeasure, ShortPulsesInNanosecondsAndLinesAboveTheLowByte) {
    // Each time is rounded to single precision before the subtraction, so the digits depend on
    // the reference; here it is the start of each pulse.
    Pulse(20, 300, 1);
    state.TriggerSample = 300;
    EXPECT_EQ(Measure(InstaMode::Width, 20, 300).text, " 41.667 ns");
    Pulse(16, 200, 2);
    Pulse(16, 203, 2);
    state.TriggerSample = 200;
    EXPECT_EQ(Measure(InstaMode::Period, 16, 201).text, " 125.001 ns");
}

// Without an edge on one side the figure would not be a measurement: only the edge found is
// marked, and no text is written.
TEST_F(InstaMeasure, NoFigureWithoutBothEdges) {
    Pulse(5, 0, 50);    // high from the first sample: no start edge
    Pulse(6, 4000, 96); // high to the last sample: no end edge
    Pulse(7, 1000, 10); // one pulse, then low to the end: no end of the period
    struct Case {
        InstaMode mode;
        int bit;
        int32_t s;
        std::optional<int> left, right;
    };
    const Case cases[] = {
        {InstaMode::Width, 5, 10, std::nullopt, 50},
        {InstaMode::Width, 6, 4050, 649, std::nullopt},
        {InstaMode::Period, 7, 1005, 649, std::nullopt},
        {InstaMode::Width, 2, 2000, std::nullopt, std::nullopt}, // never changes
    };
    for (const Case& c : cases) {
        const InstaMark mark = Measure(c.mode, c.bit, c.s);
        EXPECT_EQ(mark.left, c.left) << c.bit;
        EXPECT_EQ(mark.right, c.right) << c.bit;
        EXPECT_EQ(mark.text, "") << c.bit;
    }
    state.TriggerSample = 1000;
    EXPECT_EQ(Measure(InstaMode::Width, 7, 1005).text, " 416.67 ns");
}

TEST_F(InstaMeasure, NeverSearchesOnFromAMissingEdge) {
    std::vector<uint32_t> froms;
    const StepSearch search = [&froms](SampleStep, uint32_t from, bool forward) {
        froms.push_back(from);
        return forward ? -1 : 7;
    };
    const InstaEdges edges = FindInstaEdges(1, 0, 10, search);
    EXPECT_EQ(froms, (std::vector<uint32_t>{11, 10}));
    EXPECT_EQ(edges.start, 7);
    EXPECT_FALSE(edges.end);
    EXPECT_FALSE(edges.periodEnd);
}

TEST(InstaSample, TakesTheSampleUnderThePointerWithinTheBuffer) {
    struct Case {
        int32_t screenStart, scale, subScale;
        double x;
        int32_t expected;
    };
    const Case cases[] = {
        {1000, 4, 0, 100, 1400},   {1000, 0, 4, 7, 1001}, // integer part of 7 / 4
        {1000, 0, 2, 101.5, 1050}, {-500, 2, 0, 10, 0},   // before the buffer
        {4000, 2, 0, 600, 4095},                          // past its end
    };
    for (const Case& c : cases) {
        AppState state;
        state.BufferSamples = 4096;
        state.ScreenStart = c.screenStart;
        state.Scale = c.scale;
        state.SubScale = c.subScale;
        EXPECT_EQ(InstaSample(state, c.x), c.expected) << c.x;
    }
}

TEST(InstaByte, WritesTheWholeSampleWord) {
    EXPECT_EQ(ByteText(0x3A5), "0x3A5");
    EXPECT_EQ(ByteText(0), "0x0");
    EXPECT_EQ(ByteText(0xCCCCCCCC), "0xCCCCCCCC");
}

} // namespace
} // namespace norrik
