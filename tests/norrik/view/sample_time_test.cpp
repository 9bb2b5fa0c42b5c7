#include "view/sample_time.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

struct TimeCase {
    uint8_t rateCode;
    uint8_t reference;
    int32_t sample;
    const char* text;
};

TEST(FormatSampleTime, ChoosesTheUnitBeforeRounding) {
    const TimeCase cases[] = {
        {27, kTriggerReference, 1000, "0.0ns"},
        {27, kTriggerReference, 1001, "500.0ns"},
        {27, kTriggerReference, 1002, "1.0us"},
        {27, kTriggerReference, 998, "-1.0us"},
        {27, kTriggerReference, 3001000, "1.5s"},
        {27, kTriggerReference, 3000, "1.0ms"},
        {27, kTriggerReference, -4000, "-2.5ms"},
        {247, kTriggerReference, 1001, "41.67ns"},
        {247, kTriggerReference, 1024, "1.0us"},    // 1000.008 ns
        {37, kTriggerReference, 1003, "1000.0ns"},  // 999.999 ns, unit before rounding
        {27, kXReference, 1002, "-4.0us"},          // X cursor at 1010
        {27, kOReference, 1002, "251.0us"},         // O cursor at 500
        {99, kTriggerReference, 5000, "0.0ns"},     // no such rate: no time
        {17, kTriggerReference, 1000 + 2147483, "2.15s"},
    };
    for (const TimeCase& c : cases) {
        AppState state;
        state.RateCode = {c.rateCode, c.rateCode};
        state.TimeReference = c.reference;
        state.TriggerSample = 1000;
        state.XCursor = 1010;
        state.OCursor = 500;
        EXPECT_EQ(FormatSampleTime(state, c.sample), c.text)
            << int(c.rateCode) << " ref " << int(c.reference) << " sample " << c.sample;
    }
}

TEST(TimeOfSample, SubtractsTheReferenceAfterScalingBoth) {
    AppState state;
    state.RateCode = {247, 247};
    state.TriggerSample = 2147483647;
    EXPECT_FLOAT_EQ(TimeOfSample(state, 2147483647 - 1), -41.667f);
    state.TriggerSample = 0;
    EXPECT_FLOAT_EQ(TimeOfSample(state, 3), static_cast<float>(3 * 41.667));
    state.RateCode = {0, 0};
    EXPECT_EQ(TimeOfSample(state, 3), 0.0f);
}

} // namespace
} // namespace norrik
