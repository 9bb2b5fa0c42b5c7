// Finding the first or last sample of a stretch that meets one search step: (sample AND mask)
// equals value, on bits 0 to 7.
#pragma once

#include <cstdint>
#include <optional>

namespace podcore::analysis {

struct SearchStep {
    uint8_t mask = 0;
    uint8_t value = 0;
};

// The lowest index in [begin, end) whose sample meets the step.
std::optional<uint32_t> FindFirstMatch(const uint32_t* samples, uint32_t begin, uint32_t end,
                                       SearchStep step);

// The highest index in [begin, end) whose sample meets the step.
std::optional<uint32_t> FindLastMatch(const uint32_t* samples, uint32_t begin, uint32_t end,
                                      SearchStep step);

} // namespace podcore::analysis
