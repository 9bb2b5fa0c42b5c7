// The baseline of the sample-reading benchmarks: one plain AND/OR pass over the samples, the
// least any reader of them has to do.
#pragma once

#include "harness.h"

#include <cstddef>
#include <cstdint>

namespace bench {

inline void PlainAndOrRead(const uint32_t* samples, size_t count) {
    uint32_t allHigh = ~0u;
    uint32_t anyHigh = 0;
    for (size_t i = 0; i < count; ++i) {
        allHigh &= samples[i];
        anyHigh |= samples[i];
    }
    Keep(allHigh);
    Keep(anyHigh);
}

} // namespace bench
