// The time of a sample in whole units of a clock, rounded to the nearest: what the text formats
// write for sample i at one of the capture rates.
#pragma once

#include <libdivide.h>

#include <cstdint>
#include <numeric>

namespace norrik::interchange {

class SampleTimes {
public:
    // Times in units of which there are `unitsPerSecond` to a second, for samples at `rateHz`.
    SampleTimes(uint64_t unitsPerSecond, uint64_t rateHz)
        : SampleTimes(unitsPerSecond / std::gcd(unitsPerSecond, rateHz),
                      rateHz / std::gcd(unitsPerSecond, rateHz), Reduced{}) {}

    // round(i x unitsPerSecond / rateHz), for any sample index a capture can have. The fraction
    // is reduced and its divisor turned into a multiplication once, since a division per
    // change would be much of a writer's time.
    uint64_t At(uint64_t i) const { return i * whole_ + (2 * i * part_ + den_) / twiceDen_; }

private:
    struct Reduced {};
    SampleTimes(uint64_t num, uint64_t den, Reduced)
        : whole_(num / den), part_(num % den), den_(den), twiceDen_(2 * den) {}

    uint64_t whole_;
    uint64_t part_;
    uint64_t den_;
    libdivide::divider<uint64_t> twiceDen_;
};

} // namespace norrik::interchange
