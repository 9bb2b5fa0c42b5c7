// The program's number/text conventions, in one place: plain signed decimal text with a blank
// before non-negative numbers, the "##0.0#" pattern, round half to even, and the lenient parse
// that reads the leading number of a text field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace norrik {

// " 3", "-3", " 0".
std::string PlainText(int64_t value);

// General decimal text of a real value, up to 15 significant digits: " 2", " 1939.41", "-0.5".
std::string PlainText(double value);

// General decimal text of a single-precision value, up to 7 significant digits: " 41.667".
std::string PlainSingleText(float value);

// Upper-case hexadecimal without leading zeros: "3A5", "0".
std::string HexText(uint32_t value);

// "##0.0#": at least one digit before the point, one or two after, halves away from zero,
// a minus sign for negative values, no leading blank.
std::string FormatTwoDecimals(double value);

// "0000000000"-style zero padding to the given width (negative values keep their sign first).
std::string FormatZeroPadded(int64_t value, int width);

// The leading number of a text: optional blanks, an optional sign, digits with an optional
// fraction and exponent. Anything unreadable counts as 0.
double LeadingNumber(std::string_view text);

// Nearest integer, halves to even, saturated to the int64 range (NaN gives 0).
int64_t RoundHalfEven(double value);

// The same, saturated to the int32 range, for values that end up in 32-bit state.
int32_t RoundHalfEvenToInt32(double value);

} // namespace norrik
