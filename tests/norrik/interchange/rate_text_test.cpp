// Rates as sessions, dumps and tables write them.
#include "interchange/rate_choice.h"
#include "interchange/rate_text.h"

#include <gtest/gtest.h>

namespace norrik::interchange {
namespace {

TEST(RateText, ParsedFromTheFormsFilesUse) {
    const std::pair<const char*, std::optional<uint64_t>> cases[] = {
        {"24 MHz", 24'000'000},
        {"400 kHz", 400'000},
        {" 1.5MHz ", 1'500'000},
        {"12.5 MHz", 12'500'000},
        {"1 GHz", 1'000'000'000},
        {"24000000", 24'000'000},
        {"7 Hz", 7},
        {"0 Hz", 0},
        {"0.3 Hz", 0},
        {"fast", std::nullopt},
        {"", std::nullopt},
        {"24 MHz and more", std::nullopt},
        {"MHz", std::nullopt},
        {"99999999999999999999 GHz", std::nullopt},
    };
    for (const auto& [text, hz] : cases)
        EXPECT_EQ(ParseRateText(text), hz) << text;
}

TEST(RateText, WrittenAsSessionsWriteThem) {
    EXPECT_EQ(RateText(24'000'000), "24 MHz");
    EXPECT_EQ(RateText(200'000), "200 kHz");
    EXPECT_EQ(RateText(12'500'000), "12.5 MHz");
    EXPECT_EQ(RateText(1'000'000'000), "1 GHz");
    EXPECT_EQ(RateText(999), "999 Hz");
    EXPECT_EQ(ParseRateText(RateText(2'345'678)), 2'345'678u);
}

TEST(RateText, FoundInAFreeText) {
    EXPECT_EQ(FindRateInText("Acquisition with 3/8 channels at 1 MHz"), 1'000'000u);
    EXPECT_EQ(FindRateInText("Samplerate: 12.5 MHz"), 12'500'000u);
    EXPECT_EQ(FindRateInText("3 channels, 8 bits"), std::nullopt);
}

TEST(RateChoice, TheSmallestOfTheNineAtOrAbove) {
    EXPECT_EQ(CaptureRateAtOrAbove({1, 1}), 1'000'000u);
    EXPECT_EQ(CaptureRateAtOrAbove({4'000'000, 1}), 4'000'000u);
    EXPECT_EQ(CaptureRateAtOrAbove({4'000'001, 1}), 6'000'000u);
    EXPECT_EQ(CaptureRateAtOrAbove({25'000'000, 3}), 12'000'000u); // 8.33 MHz
    EXPECT_EQ(CaptureRateAtOrAbove({1'000'000'000, 1}), 24'000'000u);
    EXPECT_EQ(RateCodeOfMsps("24"), 247);
    EXPECT_EQ(RateCodeOfMsps("5"), std::nullopt);
    EXPECT_EQ(RateCodeOfMsps("2.0"), std::nullopt);
}

} // namespace
} // namespace norrik::interchange
