// Sample rates written as text, the way sessions and dumps write them: "24 MHz", "400 kHz".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norrik::interchange {

// A rate a comment gives above this is no sample rate of any analyzer.
constexpr uint64_t kFastestFileRate = 1'000'000'000'000;

// The rate a text gives in Hz: a decimal number, optional blanks, an optional k, M or G and an
// optional "Hz" ("24 MHz", "1.5MHz", "400 kHz", "24000000"). 0 for "0 Hz"; nothing when the
// text is no rate or a rate beyond 2^64 Hz.
std::optional<uint64_t> ParseRateText(std::string_view text);

// "24 MHz", "400 kHz", "12.5 MHz", "1 Hz".
std::string RateText(uint64_t hz);

// The first "<number> <prefix>Hz" in a free text, such as a comment that reads
// "Acquisition with 3/8 channels at 1 MHz".
std::optional<uint64_t> FindRateInText(std::string_view text);

} // namespace norrik::interchange
