// Nearest-neighbour resampling of a file's samples to one of the capture rates: new sample j is
// the file's sample at tick floor(j x ticks per second / rate), the value the lines held then.
#pragma once

#include "interchange/foreign_format.h"
#include "interchange/rational_scale.h"
#include "interchange/sample_blocks.h"

namespace norrik::interchange {

class Resampler final : public SampleSink {
public:
    // Makes samples at `rate` Hz from ticks at `ticksPerSecond`, keeping at most `limit`. A file
    // whose times reach beyond `longest` samples is not held at all, however far the limit.
    Resampler(Fraction ticksPerSecond, uint64_t rate, size_t limit, uint64_t longest);

    bool Change(uint64_t tick, uint32_t word) override;
    bool Samples(uint64_t firstTick, std::span<const uint32_t> words) override;

    // Holds the last value up to `endTick`; returns how many samples the whole file makes
    // (saturated), which is more than were kept when the limit cut them.
    uint64_t Finish(uint64_t endTick);

    SampleBlocks& Result() { return samples_; }
    // Whether some time lay beyond `longest` samples.
    bool Beyond() const { return beyond_; }

private:
    // The first new sample at or after a tick.
    uint64_t FirstSampleAt(uint64_t tick) const;
    // Gives every sample before `end` (up to the limit) the current value.
    void HoldTo(uint64_t end);

    uint64_t ticksPerStep_;      // numerator of ticks per new sample
    uint64_t stepsDivisor_;      // its denominator
    RationalScale sampleOfTick_; // ticks to new samples
    RationalScale tickOfSample_; // new samples to ticks
    size_t limit_;
    uint64_t longest_;
    bool beyond_ = false;
    uint32_t word_ = 0; // lines the file does not carry read 0
    SampleBlocks samples_;
};

} // namespace norrik::interchange
