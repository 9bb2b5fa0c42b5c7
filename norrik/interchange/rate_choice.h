// Which of the nine capture rates a file is read at.
#pragma once

#include "interchange/foreign_format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norrik::interchange {

// The rate a capture has when no file says otherwise: the one the program starts with.
constexpr uint64_t kDefaultRateHz = 2'000'000;

// The smallest of the nine rates at or above `hz` (a rate given as a fraction), the fastest
// when `hz` lies above them all.
uint64_t CaptureRateAtOrAbove(Fraction hz);

// The code of one of the nine rates.
uint8_t CodeOfCaptureRate(uint64_t hz);

// A rate in million samples per second as the command line gives it ("24", "1"): the code of
// that one of the nine rates, nothing for any other text.
std::optional<uint8_t> RateCodeOfMsps(std::string_view text);

// "24 MS/s".
std::string MspsText(uint64_t hz);

} // namespace norrik::interchange
