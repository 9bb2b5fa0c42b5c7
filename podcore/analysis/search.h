// Pattern search over the sample buffer: a sequence of steps on bits 0 to 7, met one after the
// other, searched forward or backward from a sample index.
#pragma once

#include <cstdint>
#include <span>

namespace podcore::analysis {

// The samples a search runs over, and the pattern as the caller passes it: steps byte pairs
// {mask, value} in step order.
struct SearchInput {
    std::span<const uint32_t> samples;
    const uint8_t* pattern = nullptr;
    uint32_t steps = 0;
};

// One past the sample that met the last step, skipping steps once the end is reached; -1 when a
// step finds no sample.
int32_t SearchForward(const SearchInput& input, uint32_t from);

// The end of the last of the non-overlapping occurrences, walked from sample 0, whose samples
// all lie at or below from - 2; -1 when there is none.
int32_t SearchBackward(const SearchInput& input, uint32_t from);

// The export: searches the library's buffer; direction nonzero is forward.
int32_t SearchForTrigger(const uint8_t* pattern, uint32_t steps, uint32_t from,
                         uint32_t direction);

} // namespace podcore::analysis
