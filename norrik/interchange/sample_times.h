// The time of a sample in whole units of a clock, rounded to the nearest: what the text formats
// write for sample i at one of the capture rates.
#pragma once

#include <cstdint>

namespace norrik::interchange {

class SampleTimes {
public:
    // Times in units of which there are `unitsPerSecond` to a second, for samples at `rateHz`.
    SampleTimes(uint64_t unitsPerSecond, uint64_t rateHz)
        : whole_(unitsPerSecond / rateHz), part_(unitsPerSecond % rateHz), rate_(rateHz) {}

    // round(i x unitsPerSecond / rateHz), for any sample index a capture can have.
    uint64_t At(uint64_t i) const { return i * whole_ + (2 * i * part_ + rate_) / (2 * rate_); }

private:
    uint64_t whole_;
    uint64_t part_;
    uint64_t rate_;
};

} // namespace norrik::interchange
