#include "app/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace norrik {
namespace {

// Every conversion runs under the plain C locale and under one with a decimal comma, as the
// program runs once Qt has applied the user's locale. The build makes de_DE.UTF-8 for the
// tests (LOCPATH) when the machine has none.
class NumberText : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
            << "locale " << GetParam() << " is missing";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

INSTANTIATE_TEST_SUITE_P(Locales, NumberText, testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& info) {
                             return std::string(info.param[0] == 'C' ? "C" : "CommaDecimal");
                         });

TEST_P(NumberText, PlainTextHasABlankBeforeNonNegativeNumbers) {
    struct Case {
        int64_t value;
        const char* text;
    };
    for (const Case& c : {Case{3, " 3"}, Case{0, " 0"}, Case{-3, "-3"}, Case{1048576, " 1048576"},
                          Case{-2147483648LL, "-2147483648"}})
        EXPECT_EQ(PlainText(c.value), c.text);
}

TEST_P(NumberText, PlainRealTextUsesFifteenSignificantDigits) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c :
         {Case{2.0, " 2"}, Case{1939.5, " 1939.5"}, Case{-0.25, "-0.25"}, Case{-0.0, " 0"},
          Case{1.0 / 3, " 0.333333333333333"}, Case{1292.6, " 1292.6"}, Case{1e20, " 1e+20"}})
        EXPECT_EQ(PlainText(c.value), c.text) << c.value;
    EXPECT_EQ(PlainSingleText(41.667f), " 41.667");
    EXPECT_EQ(PlainSingleText(1000.0079956f), " 1000.008");
}

TEST_P(NumberText, TwoDecimalPatternRoundsHalvesAwayFromZero) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0.0"},          {3, "3.0"},      {0.5, "0.5"},      {12.345, "12.35"},
        {12.3449, "12.34"},  {0.125, "0.13"}, {-0.125, "-0.13"}, {-2.5, "-2.5"},
        {999.999, "1000.0"}, {-0.001, "0.0"}, {1.05, "1.05"},    {100.1, "100.1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTwoDecimals(c.value), c.text) << c.value;
}

TEST_P(NumberText, ZeroPadded) {
    EXPECT_EQ(FormatZeroPadded(42, 10), "0000000042");
    EXPECT_EQ(FormatZeroPadded(0, 3), "000");
}

TEST_P(NumberText, LeadingNumberIsLenient) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1048576", 1048576},
        {" 3", 3},
        {"  -12abc", -12},
        {"+7", 7},
        {"2.5x", 2.5},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"1e", 1},
        {"1e+", 1},
        {"x", 0},
        {"", 0},
        {"-", 0},
        {".", 0},
        {"Demo", 0},
        {"\t9", 9},
        {"1e999", 0},
        {"12 34", 12},
        {"0x10", 0},
        {"1292.6", 1292.6},
        {"1292,6", 1292},
        {"+-5", 0},
        {"-1.5e3", -1500},
        {"9.6e3", 9600},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST_P(NumberText, RoundHalfEvenAndSaturation) {
    struct Case {
        double value;
        int64_t rounded;
    };
    for (const Case& c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{-0.5, 0}, Case{-1.5, -2},
                          Case{2.4999, 2}, Case{1939.5, 1940}, Case{NAN, 0}})
        EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
    EXPECT_EQ(RoundHalfEvenToInt32(3e9), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEvenToInt32(-3e9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
}

} // namespace
} // namespace norrik
