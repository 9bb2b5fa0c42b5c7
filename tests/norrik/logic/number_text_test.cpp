#include "app/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace norrik {
namespace {

TEST(NumberText, PlainTextHasABlankBeforeNonNegativeNumbers) {
    struct Case {
        int64_t value;
        const char* text;
    };
    for (const Case& c : {Case{3, " 3"}, Case{0, " 0"}, Case{-3, "-3"},
                          Case{1048576, " 1048576"}, Case{-2147483648LL, "-2147483648"}})
        EXPECT_EQ(PlainText(c.value), c.text);
}

TEST(NumberText, PlainRealTextUsesFifteenSignificantDigits) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{2.0, " 2"}, Case{1939.5, " 1939.5"}, Case{-0.25, "-0.25"},
                          Case{-0.0, " 0"}, Case{1.0 / 3, " 0.333333333333333"}})
        EXPECT_EQ(PlainText(c.value), c.text) << c.value;
}

TEST(NumberText, TwoDecimalPatternRoundsHalvesAwayFromZero) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0.0"},     {3, "3.0"},       {0.5, "0.5"},      {12.345, "12.35"},
        {12.3449, "12.34"}, {0.125, "0.13"}, {-0.125, "-0.13"}, {-2.5, "-2.5"},
        {999.999, "1000.0"}, {-0.001, "0.0"}, {1.05, "1.05"},  {100.1, "100.1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTwoDecimals(c.value), c.text) << c.value;
}

TEST(NumberText, ZeroPadded) {
    EXPECT_EQ(FormatZeroPadded(42, 10), "0000000042");
    EXPECT_EQ(FormatZeroPadded(0, 3), "000");
}

TEST(NumberText, LeadingNumberIsLenient) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1048576", 1048576}, {" 3", 3},         {"  -12abc", -12}, {"+7", 7},
        {"2.5x", 2.5},        {".5", 0.5},       {"5.", 5},         {"1e3", 1000},
        {"1e", 1},            {"1e+", 1},        {"x", 0},          {"", 0},
        {"-", 0},             {".", 0},          {"Demo", 0},       {"\t9", 9},
        {"1e999", 0},         {"12 34", 12},     {"0x10", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumberText, RoundHalfEvenAndSaturation) {
    struct Case {
        double value;
        int64_t rounded;
    };
    for (const Case& c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0},
                          Case{-1.5, -2}, Case{2.4999, 2}, Case{1939.5, 1940}, Case{NAN, 0}})
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    EXPECT_EQ(RoundHalfEvenToInt32(3e9), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEvenToInt32(-3e9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
}

} // namespace
} // namespace norrik
