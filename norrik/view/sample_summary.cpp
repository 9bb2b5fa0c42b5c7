#include "view/sample_summary.h"

#include <algorithm>

namespace norrik {

SampleSummary::SampleSummary(std::span<const uint32_t> samples) : samples_(samples) {
    const size_t blocks = (samples.size() + kBlockSamples - 1) / kBlockSamples;
    setThroughout_.resize(blocks);
    setSomewhere_.resize(blocks);
    for (size_t block = 0; block < blocks; ++block) {
        const size_t first = block * kBlockSamples;
        const size_t end = std::min(first + kBlockSamples, samples.size());
        uint32_t throughout = ~0u;
        uint32_t somewhere = 0;
        for (size_t k = first; k < end; ++k) {
            throughout &= samples[k];
            somewhere |= samples[k];
        }
        setThroughout_[block] = throughout;
        setSomewhere_[block] = somewhere;
    }
}

SampleSummary SampleSummary::Blank(std::span<const uint32_t> samples) {
    SampleSummary blank;
    blank.samples_ = samples;
    return blank;
}

bool SampleSummary::Describes(std::span<const uint32_t> samples) const {
    return !setThroughout_.empty() && samples.data() == samples_.data() &&
           samples.size() == samples_.size();
}

bool SampleSummary::MayMatch(size_t block, SampleStep step) const {
    if (block >= setThroughout_.size())
        return true;
    const uint32_t steady = ~(setThroughout_[block] ^ setSomewhere_[block]);
    return ((setThroughout_[block] ^ step.value) & step.mask & steady) == 0;
}

std::optional<uint32_t> SampleSummary::FirstMatch(uint32_t first, uint32_t end,
                                                  SampleStep step) const {
    end = static_cast<uint32_t>(std::min<size_t>(end, samples_.size()));
    for (uint32_t i = first; i < end;) {
        const size_t block = i / kBlockSamples;
        const auto blockEnd =
            static_cast<uint32_t>(std::min<uint64_t>((block + 1) * uint64_t{kBlockSamples}, end));
        if (MayMatch(block, step)) {
            if (const auto match = norrik::FirstMatch(samples_, i, blockEnd, step))
                return match;
        }
        i = blockEnd;
    }
    return std::nullopt;
}

std::optional<uint32_t> SampleSummary::LastMatch(uint32_t first, uint32_t end,
                                                 SampleStep step) const {
    end = static_cast<uint32_t>(std::min<size_t>(end, samples_.size()));
    for (uint32_t i = end; i > first;) {
        const size_t block = (i - 1) / kBlockSamples;
        const uint32_t blockStart = std::max(static_cast<uint32_t>(block * kBlockSamples), first);
        if (MayMatch(block, step)) {
            if (const auto match = norrik::LastMatch(samples_, blockStart, i, step))
                return match;
        }
        i = blockStart;
    }
    return std::nullopt;
}

int32_t SearchStepForward(const SampleSummary& samples, SampleStep step, uint32_t from) {
    const auto size = static_cast<uint32_t>(samples.Samples().size());
    if (from >= size)
        return static_cast<int32_t>(from);
    const std::optional<uint32_t> match = samples.FirstMatch(from, size, step);
    return match ? static_cast<int32_t>(*match + 1) : -1;
}

int32_t SearchStepBackward(const SampleSummary& samples, SampleStep step, uint32_t from) {
    if (from < 2)
        return -1;
    const std::optional<uint32_t> match = samples.LastMatch(0, from - 1, step);
    return match ? static_cast<int32_t>(*match + 1) : -1;
}

} // namespace norrik
