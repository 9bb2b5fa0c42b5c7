// Whole numbers in decimal, written two digits at a time straight into the output's room: the
// times of the text writers, one or two per change.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace norrik::interchange {

namespace decimal_detail {

constexpr std::array<char, 200> DigitPairs() {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[size_t(2 * i)] = char('0' + i / 10);
        pairs[size_t(2 * i + 1)] = char('0' + i % 10);
    }
    return pairs;
}

constexpr std::array<uint64_t, 20> PowersOfTen() {
    std::array<uint64_t, 20> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}

inline constexpr std::array<char, 200> kDigitPairs = DigitPairs();
inline constexpr std::array<uint64_t, 20> kPowersOfTen = PowersOfTen();

} // namespace decimal_detail

// How many digits `value` has in decimal, 1 for 0.
inline unsigned DecimalLength(uint64_t value) {
    // 1233 / 4096 is just under log10(2): the guess is the length or one short of it.
    const unsigned guess = unsigned(std::bit_width(value | 1) * 1233) >> 12;
    return guess + unsigned((value | 1) >= decimal_detail::kPowersOfTen[guess]);
}

// The last `length` digits of `value`, zeros in front where it has fewer; the end.
inline char* WriteDigits(char* at, uint64_t value, unsigned length) {
    char* const end = at + length;
    char* digit = end;
    for (; length >= 2; length -= 2) {
        digit -= 2;
        std::memcpy(digit, &decimal_detail::kDigitPairs[size_t(value % 100) * 2], 2);
        value /= 100;
    }
    if (length == 1)
        *--digit = char('0' + value % 10);
    return end;
}

// `value` in decimal without leading zeros; the end.
inline char* WriteDecimal(char* at, uint64_t value) {
    return WriteDigits(at, value, DecimalLength(value));
}

} // namespace norrik::interchange
