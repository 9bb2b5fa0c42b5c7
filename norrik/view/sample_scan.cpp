#include "view/sample_scan.h"

#include <algorithm>

namespace norrik {
namespace {

// Samples tested together before looking for the one that matched; the loop over a stretch
// has no branch per sample, so the compiler turns it into vector instructions.
constexpr uint32_t kStretch = 64;

// Whether a sample is one a scan looks for: one that matches the step, or with `kMatch` false
// one that does not.
template <bool kMatch> bool Wanted(uint32_t sample, SampleStep step) {
    return ((sample & step.mask) == step.value) == kMatch;
}

template <bool kMatch> bool AnyWanted(const uint32_t* stretch, SampleStep step) {
    uint32_t hits = 0;
    for (uint32_t k = 0; k < kStretch; ++k)
        hits |= static_cast<uint32_t>(Wanted<kMatch>(stretch[k], step));
    return hits != 0;
}

template <bool kMatch>
std::optional<uint32_t> FirstWanted(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                    SampleStep step) {
    end = static_cast<uint32_t>(std::min<size_t>(end, samples.size()));
    const uint32_t* data = samples.data();
    uint32_t i = first;
    while (i < end && end - i >= kStretch && !AnyWanted<kMatch>(data + i, step))
        i += kStretch;
    for (; i < end; ++i) {
        if (Wanted<kMatch>(data[i], step))
            return i;
    }
    return std::nullopt;
}

template <bool kMatch>
std::optional<uint32_t> LastWanted(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                   SampleStep step) {
    end = static_cast<uint32_t>(std::min<size_t>(end, samples.size()));
    const uint32_t* data = samples.data();
    uint32_t i = end;
    while (i > first && i - first >= kStretch && !AnyWanted<kMatch>(data + i - kStretch, step))
        i -= kStretch;
    for (; i > first; --i) {
        if (Wanted<kMatch>(data[i - 1], step))
            return i - 1;
    }
    return std::nullopt;
}

} // namespace

std::span<const uint32_t> CaptureSamples(const AppState& state) {
    if (state.SampleBuffer == nullptr || state.BufferSamples <= 0)
        return {};
    return {state.SampleBuffer, static_cast<size_t>(state.BufferSamples)};
}

std::optional<uint32_t> FirstMatch(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                   SampleStep step) {
    return FirstWanted<true>(samples, first, end, step);
}

std::optional<uint32_t> LastMatch(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                  SampleStep step) {
    return LastWanted<true>(samples, first, end, step);
}

std::optional<uint32_t> FirstMismatch(std::span<const uint32_t> samples, uint32_t first,
                                      uint32_t end, SampleStep step) {
    return FirstWanted<false>(samples, first, end, step);
}

std::optional<uint32_t> LastMismatch(std::span<const uint32_t> samples, uint32_t first,
                                     uint32_t end, SampleStep step) {
    return LastWanted<false>(samples, first, end, step);
}

} // namespace norrik
