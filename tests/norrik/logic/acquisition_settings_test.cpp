#include "app/acquisition_settings.h"
#include "app/app_state.h"

#include <gtest/gtest.h>

namespace norrik {
namespace {

TEST(AcquisitionSettings, SizeEntriesRoundUpToWholeBlocks) {
    struct Case {
        int entry;
        int32_t samples;
        const char* label;
    };
    const Case cases[] = {
        {0, 1048576, " 1 Million Samples"},
        {1, 2031616, " 2 Million Samples"},
        {2, 3014656, " 3 Million Samples"},
        {3, 4063232, " 4 Million Samples"},
        {7, 8060928, " 8 Million Samples"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BufferSamplesForEntry(c.entry), c.samples);
        EXPECT_EQ(BufferSamplesForEntry(c.entry) % 65536, 0);
        EXPECT_EQ(SizeLabel(c.entry + 1), c.label);
        EXPECT_EQ(SizeEntryOf(c.samples), c.entry) << "a refresh re-selects the same entry";
    }
}

TEST(AcquisitionSettings, SizeListLengthFollowsTheAdvice) {
    EXPECT_EQ(SizeEntries(1490944), 1);
    EXPECT_EQ(SizeEntries(2000000), 2);
    EXPECT_EQ(SizeEntries(999999), 0);
    EXPECT_EQ(SizeEntryOf(999999), -1) << "below a million nothing is selected";
}

TEST(AcquisitionSettings, RateLabels) {
    EXPECT_EQ(RateCodeOfLabel(" 1 Msps"), 17);
    EXPECT_EQ(RateCodeOfLabel("24 Msps"), 247);
    EXPECT_FALSE(RateCodeOfLabel("1 Msps").has_value()) << "one-digit labels start with a blank";
    EXPECT_FALSE(RateCodeOfLabel("").has_value());
}

TEST(AcquisitionSettings, CaptureRateTextNamesTheRateInEffect) {
    struct Case {
        uint8_t code;
        const char* text;
    };
    for (const Case& c : {Case{27, "at 2Msps"}, Case{17, "at 1Msps"}, Case{87, "at 8Msps"},
                          Case{247, "at 24Msps"}, Case{100, "at 24Msps"}, Case{0, "at 24Msps"}})
        EXPECT_EQ(CaptureRateText(c.code), c.text) << int{c.code};
}

TEST(AppState, ResistorColoursByRow) {
    const auto colors = ResistorColors();
    EXPECT_EQ(colors[0], 0x000000);
    EXPECT_EQ(colors[1], 0x804000);
    EXPECT_EQ(colors[8], colors[0]);
    EXPECT_EQ(colors[16], 0x000000);
    EXPECT_EQ(colors[19], 0xFF8000) << "orange";
    EXPECT_EQ(colors[20], 0x000000) << "index 20 stays black";
}

} // namespace
} // namespace norrik
