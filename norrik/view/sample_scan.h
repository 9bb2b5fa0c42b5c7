// Scans of the captured samples for a condition on their bits, for the measurements under the
// pointer and the Find commands. Whole stretches are tested many samples at a time: a scan
// may run over hundreds of millions of samples without finding anything.
#pragma once

#include "app/app_state.h"

#include <cstdint>
#include <optional>
#include <span>

namespace norrik {

// A sample matches when (sample AND mask) = value.
struct SampleStep {
    uint32_t mask = 0;
    uint32_t value = 0;
};

// The library's sample buffer as the application sees it (BufferSamples long); empty without one.
std::span<const uint32_t> CaptureSamples(const AppState& state);

// The first / last matching sample in [first, end); nothing when none matches.
std::optional<uint32_t> FirstMatch(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                   SampleStep step);
std::optional<uint32_t> LastMatch(std::span<const uint32_t> samples, uint32_t first, uint32_t end,
                                  SampleStep step);

// The first / last sample in [first, end) that does not match; nothing when all match.
std::optional<uint32_t> FirstMismatch(std::span<const uint32_t> samples, uint32_t first,
                                      uint32_t end, SampleStep step);
std::optional<uint32_t> LastMismatch(std::span<const uint32_t> samples, uint32_t first,
                                     uint32_t end, SampleStep step);

} // namespace norrik
