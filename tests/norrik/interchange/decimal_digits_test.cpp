// The writers' decimal digits against the standard library's, at every change of length and at
// the ends of the 64-bit range, with and without padding zeros.
#include "interchange/decimal_digits.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

namespace norrik::interchange {
namespace {

std::vector<uint64_t> EdgeValues() {
    std::vector<uint64_t> values = {0, UINT64_MAX, UINT64_MAX - 1, 1'000'000'000,
                                    999'999'999'999, 699'050'666'667};
    for (uint64_t power = 1;; power *= 10) {
        values.insert(values.end(), {power - 1, power, power + 1, 2 * power - 1});
        if (power > UINT64_MAX / 10)
            break;
    }
    for (int bit = 0; bit < 64; ++bit)
        values.insert(values.end(), {uint64_t{1} << bit, (uint64_t{1} << bit) - 1});
    return values;
}

std::string Standard(uint64_t value) {
    char text[24];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

TEST(DecimalDigits, WritesWhatTheStandardLibraryWrites) {
    for (const uint64_t value : EdgeValues()) {
        char text[24];
        const std::string expected = Standard(value);
        EXPECT_EQ(DecimalLength(value), expected.size()) << expected;
        EXPECT_EQ(std::string(text, WriteDecimal(text, value)), expected);
    }
}

TEST(DecimalDigits, PadsWithZerosToTheLengthAsked) {
    for (const uint64_t value : EdgeValues()) {
        const std::string digits = Standard(value);
        for (unsigned length = unsigned(digits.size()); length <= 20; ++length) {
            char text[24];
            EXPECT_EQ(std::string(text, WriteDigits(text, value, length)),
                      std::string(length - digits.size(), '0') + digits);
        }
    }
    // Nine digits of a nanosecond fraction.
    char text[16];
    EXPECT_EQ(std::string(text, WriteDigits(text, 41'667, 9)), "000041667");
}

} // namespace
} // namespace norrik::interchange
