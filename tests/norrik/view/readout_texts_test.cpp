#include "view/readout_texts.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

TEST(TimeReadouts, FollowTheChosenReference) {
    struct Case {
        uint8_t reference;
        const char* x;
        const char* o;
        const char* trigger;
    };
    const Case cases[] = {
        {kTriggerReference, " 1.0us", " -1.0us", " 0.0ns"},
        {kXReference, " 0.0ns", " -2.0us", " -1.0us"},
        {kOReference, " 2.0us", " 0.0ns", " 1.0us"},
    };
    for (const Case& c : cases) {
        AppState state;
        state.RateCode = {27, 27};
        state.TriggerSample = 1000;
        state.XCursor = 1002;
        state.OCursor = 998;
        state.TimeReference = c.reference;
        const ReadoutTexts texts = TimeReadouts(state);
        EXPECT_EQ(texts.x, c.x);
        EXPECT_EQ(texts.o, c.o);
        EXPECT_EQ(texts.trigger, c.trigger);
        EXPECT_EQ(texts.xToO, " -2.0us") << "whatever the reference";
        EXPECT_EQ(state.TimeReference, c.reference);
    }
}

TEST(TimeReadouts, XToOIsTheSinglePrecisionDifference) {
    AppState state;
    state.RateCode = {247, 247};
    state.XCursor = 100;
    state.OCursor = 124;
    EXPECT_EQ(TimeReadouts(state).xToO, " 1.0us");
    state.OCursor = 101;
    EXPECT_EQ(TimeReadouts(state).xToO, " 41.67ns");
}

TEST(SampleWordReadouts, ShowHexWordsAndNoTime) {
    const ReadoutTexts texts = SampleWordReadouts(0xFF, 0x80000000, 0);
    EXPECT_EQ(texts.x, " Hex: FF");
    EXPECT_EQ(texts.o, " Hex: 80000000");
    EXPECT_EQ(texts.trigger, " Hex: 0");
    EXPECT_EQ(texts.xToO, " ");
}

} // namespace
} // namespace norrik
