#include "view/sample_position_text.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

AppState At(uint8_t rateCode, uint8_t reference, int32_t trigger, int32_t x, int32_t o) {
    AppState state;
    state.RateCode = {rateCode, rateCode};
    state.TimeReference = reference;
    state.TriggerSample = trigger;
    state.XCursor = x;
    state.OCursor = o;
    return state;
}

TEST(SamplePositionText, TellsSamplesApartWhereTheReadOutCannot) {
    struct Case {
        AppState state;
        int32_t sample;
        bool withTime;
        std::string expected;
    };
    const Case cases[] = {
        // "1.0s" on the read-out for both of these.
        {At(247, kTriggerReference, 0, 0, 0), 24000001, true,
         "Sample 24000001, 1.00000004166667 s after the trigger"},
        {At(247, kTriggerReference, 0, 0, 0), 24000000, true,
         "Sample 24000000, 1 s after the trigger"},
        {At(247, kTriggerReference, 100, 0, 0), 99, true,
         "Sample 99, 41.6666666666667 ns before the trigger"},
        {At(37, kXReference, 0, 1000, 0), 1003, true, "Sample 1003, 1 us after the X cursor"},
        {At(27, kOReference, 0, 0, -5), -5, true, "Sample -5, at the O cursor"},
        {At(17, kTriggerReference, 0, 0, 0), 2147483647, true,
         "Sample 2147483647, 2147.483647 s after the trigger"},
        {At(27, kTriggerReference, 0, 0, 0), 77, false, "Sample 77"},
        {At(100, kTriggerReference, 0, 0, 0), 77, true, "Sample 77"}, // no rate
    };
    for (const Case& c : cases)
        EXPECT_EQ(SamplePositionText(c.state, c.sample, c.withTime), c.expected);
}

TEST(SamplePositionText, CursorSpanIsOMinusX) {
    EXPECT_EQ(CursorSpanText(At(247, kTriggerReference, 0, 10, 24000011), true),
              "O - X: 24000001 samples, 1.00000004166667 s");
    EXPECT_EQ(CursorSpanText(At(27, kTriggerReference, 0, 1002, 998), true),
              "O - X: -4 samples, -2 us");
    EXPECT_EQ(CursorSpanText(At(27, kTriggerReference, 0, 5, 6), false), "O - X: 1 sample");
}

TEST(SamplePositionText, InstaMeasureBySampleNumbers) {
    const AppState state = At(247, kTriggerReference, 100, 0, 0);
    const InstaEdges pulse{100, 124, 148};
    const InstaEdges open{100, std::nullopt, std::nullopt};
    struct Case {
        InstaMode mode;
        InstaEdges edges;
        bool withTime;
        std::string expected;
    };
    const Case cases[] = {
        {InstaMode::Width, pulse, true, "Pulse from sample 100 to sample 124: 24 samples, 1 us"},
        {InstaMode::Period, pulse, true, "Period from sample 100 to sample 148: 48 samples, 2 us"},
        {InstaMode::Frequency, pulse, true,
         "Period from sample 100 to sample 148: 48 samples, 2 us, 500000 Hz"},
        {InstaMode::Frequency, pulse, false, "Period from sample 100 to sample 148: 48 samples"},
        {InstaMode::Width, open, true, "Sample 110: no whole pulse around it in the capture"},
        {InstaMode::Period,
         {100, 124, std::nullopt},
         true,
         "Sample 110: no whole period around it in the capture"},
        {InstaMode::Byte, open, true, "Sample 110: 0x3A5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstaMeasureText(state, c.mode, c.edges, 110, 0x3A5, c.withTime), c.expected);
}

} // namespace
} // namespace norrik
