#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

namespace norrik {

std::string PlainText(int64_t value) {
    std::string digits = std::to_string(value);
    return value < 0 ? digits : " " + digits;
}

namespace {

// Shortest decimal text with up to `digits` significant digits, a blank before non-negative
// values. The C library's conversions follow the user's locale (a comma in de_DE); these
// never do.
std::string GeneralText(double value, int digits) {
    if (value == 0)
        value = 0; // no "-0"
    char text[64];
    char* const first = value < 0 ? text : text + 1;
    text[0] = ' ';
    const auto written =
        std::to_chars(first, text + sizeof text, value, std::chars_format::general, digits);
    return std::string(text, written.ptr);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string PlainText(double value) {
    return GeneralText(value, 15);
}

std::string PlainSingleText(float value) {
    return GeneralText(value, 7);
}

std::string HexText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

std::string FormatTwoDecimals(double value) {
    const double hundredths = std::round(std::fabs(value) * 100.0); // halves away from zero
    const bool negative = value < 0 && hundredths != 0;
    char text[64];
    const long long whole = static_cast<long long>(hundredths / 100);
    const int fraction = static_cast<int>(std::fmod(hundredths, 100.0));
    if (fraction % 10 == 0)
        std::snprintf(text, sizeof text, "%s%lld.%d", negative ? "-" : "", whole, fraction / 10);
    else
        std::snprintf(text, sizeof text, "%s%lld.%02d", negative ? "-" : "", whole, fraction);
    return text;
}

std::string FormatZeroPadded(int64_t value, int width) {
    char text[64];
    std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(value));
    return text;
}

double LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    // One optional sign; from_chars reads a minus sign but not a plus sign.
    const bool plus = i < text.size() && text[i] == '+';
    if (plus)
        ++i;
    const size_t begin = i;
    if (!plus && i < text.size() && text[i] == '-')
        ++i;
    auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i - from;
    };
    size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return 0;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() > 0)
            end = i;
    }
    double value = 0;
    const auto read = std::from_chars(text.data() + begin, text.data() + end, value);
    // Out of range (1e999) counts as unreadable.
    return read.ec == std::errc() && std::isfinite(value) ? value : 0;
}

int64_t RoundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLimit = 9.2e18;
    if (value >= kLimit)
        return std::numeric_limits<int64_t>::max();
    if (value <= -kLimit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::nearbyint(value));
}

int32_t RoundHalfEvenToInt32(double value) {
    const int64_t rounded = RoundHalfEven(value);
    if (rounded > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (rounded < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

} // namespace norrik
