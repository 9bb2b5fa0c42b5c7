// The time of a sample relative to the chosen reference point, as a number and as the short
// text the time scale and read-outs show ("1.25us").
#pragma once

#include "app/app_state.h"

#include <cstdint>
#include <string>

namespace norrik {

// Sample period in nanoseconds of a rate code, as the time texts use it (41.667 for 24 MHz);
// 0 for a code that is no rate.
double SamplePeriodNs(uint8_t rateCode);

// The sample that times are relative to: the trigger, the X or the O cursor.
int32_t TimeReferenceSample(const AppState& state);

// Time of sample s in ns relative to the reference, rounded to single precision.
float TimeOfSample(const AppState& state, int32_t sample);

// The unit that times of a given size in ns are written in: "ns", "us", "ms" or "s", and the
// divisor that takes nanoseconds to it.
struct TimeUnit {
    double divisor;
    const char* name;
};
TimeUnit TimeUnitOf(double magnitudeNs);

// "##0.0#" of a time in ns, in the unit chosen by its size before rounding: 0.0ns, -2.5us.
std::string FormatTimeNs(double t);

// "##0.0#" of the time in the unit chosen by its size before rounding: 0.0ns, 41.67ns, -2.5us.
std::string FormatSampleTime(const AppState& state, int32_t sample);

} // namespace norrik
