// Trigger levels, one byte per button, turned into the mask/value pairs a capture matches with.
#pragma once

#include <array>
#include <cstdint>

namespace norrik {

enum TriggerLevel : uint8_t { kDontCare = 0, kHigh = 1, kLow = 2, kRise = 3, kFall = 4 };

// Index of the level of signal bit `bit` in step `step` (0 or 1).
constexpr int TriggerLevelIndex(int step, int bit) {
    return 32 * step + bit;
}

// Writes mask and value of each step into steps[2k] and steps[2k + 1]. High sets the bit in both,
// Low in the mask only; DontCare, Rise and Fall leave the signal out of the pattern.
void BuildTriggerSteps(const std::array<uint8_t, 257>& levels, int32_t stepCount,
                       std::array<uint32_t, 257>& steps);

// The next level of a button click: DontCare, High, Low, DontCare; Rise and Fall go to DontCare.
uint8_t NextTriggerLevel(uint8_t level);

} // namespace norrik
