// Which bits change within each block of the captured samples, so that a search for one line's
// level steps over the blocks where that line holds still: over a quiet line of a billion
// samples a search reads the summary of 16384 blocks instead of 4 GB of samples.
#pragma once

#include "view/sample_scan.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace norrik {

class SampleSummary {
public:
    static constexpr uint32_t kBlockSamples = 65536;

    SampleSummary() = default;
    // Reads every sample once; the samples must not change while the summary is in use.
    explicit SampleSummary(std::span<const uint32_t> samples);
    // Summarises nothing, for samples that are still being written: every block is read.
    static SampleSummary Blank(std::span<const uint32_t> samples);

    // Whether this is a summary of exactly these samples.
    bool Describes(std::span<const uint32_t> samples) const;
    std::span<const uint32_t> Samples() const { return samples_; }

    // The first / last matching sample in [first, end), as sample_scan's FirstMatch/LastMatch.
    std::optional<uint32_t> FirstMatch(uint32_t first, uint32_t end, SampleStep step) const;
    std::optional<uint32_t> LastMatch(uint32_t first, uint32_t end, SampleStep step) const;

private:
    // False only when no sample of the block can match: a bit the step asks for holds the
    // other level all through the block.
    bool MayMatch(size_t block, SampleStep step) const;

    std::span<const uint32_t> samples_;
    std::vector<uint32_t> setThroughout_; // AND of each block's samples
    std::vector<uint32_t> setSomewhere_;  // OR of each block's samples
};

// One-step searches with the library's SearchForTrigger results, for conditions on any of the
// 32 bits. Forward: one past the first match at or after `from`, `from` itself when it lies at
// or past the end, -1 when nothing matches. Backward: one past the last match at or below
// from - 2, -1 when there is none.
int32_t SearchStepForward(const SampleSummary& samples, SampleStep step, uint32_t from);
int32_t SearchStepBackward(const SampleSummary& samples, SampleStep step, uint32_t from);

} // namespace norrik
