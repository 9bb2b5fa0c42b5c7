// The exact positions behind the rounded read-outs, for their tool tips: the sample number and
// its time from the reference point with every digit the rate gives, and the samples and time
// of an insta-measure.
#pragma once

#include "app/app_state.h"
#include "view/insta_measure.h"

#include <cstdint>
#include <string>

namespace norrik {

// The time of one sample period in ns at the rate itself (1000 / 24 at 24 MHz, where the
// read-outs use 41.667); 0 for a code that is no rate.
double ExactSamplePeriodNs(uint8_t rateCode);

// "Sample 24000001, 1.00000004166667 s after the trigger"; without `withTime` (an external
// clock) the sample number only.
std::string SamplePositionText(const AppState& state, int32_t sample, bool withTime);

// "O - X: 24000001 samples, 1.00000004166667 s", negative when O lies before X.
std::string CursorSpanText(const AppState& state, bool withTime);

// What an insta-measure at sample s found, by sample numbers: the whole sample word, or the
// run or period with its length in samples and, with `withTime`, its exact time and frequency.
std::string InstaMeasureText(const AppState& state, InstaMode mode, const InstaEdges& edges,
                             int32_t s, uint32_t value, bool withTime);

} // namespace norrik
