// The texts of the cursor read-outs: the X cursor, the O cursor, the trigger and the time from
// X to O, as times with the internal clock or as sample words with an external one.
#pragma once

#include "app/app_state.h"

#include <cstdint>
#include <string>

namespace norrik {

struct ReadoutTexts {
    std::string x;
    std::string o;
    std::string trigger;
    std::string xToO;
};

// Internal clock: the times of the three points relative to the chosen reference, and the time
// from X to O (positive when O lies after X), each after a blank.
ReadoutTexts TimeReadouts(const AppState& state);

// External clock, without a sample period: the sample words at the three points; no X-to-O time.
ReadoutTexts SampleWordReadouts(uint32_t atX, uint32_t atO, uint32_t atTrigger);

} // namespace norrik
