// Where the lines change in a run of samples, found many samples at a time: the text writers
// spend most of their time looking for the few samples that differ from the one before.
#pragma once

#include <cstddef>
#include <cstdint>

namespace norrik::interchange {

// The first sample at or after `from` (at least 1) whose `lines` differ from the sample before
// it; `count` when there is none.
inline size_t NextChange(const uint32_t* samples, size_t from, size_t count, uint32_t lines) {
    constexpr size_t kStep = 16;
    size_t i = from;
    while (i + kStep <= count) {
        uint32_t differ = 0;
        for (size_t k = 0; k < kStep; ++k)
            differ |= samples[i + k] ^ samples[i + k - 1];
        if ((differ & lines) != 0)
            break;
        i += kStep;
    }
    while (i < count && ((samples[i] ^ samples[i - 1]) & lines) == 0)
        ++i;
    return i;
}

} // namespace norrik::interchange
