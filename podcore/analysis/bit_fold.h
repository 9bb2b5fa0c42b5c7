// The AND and the OR of a run of samples: which bits stayed high throughout, and which were high
// at least once. A screen column and a summary block are both described by this pair.
#pragma once

#include <cstddef>
#include <cstdint>

namespace podcore::analysis {

struct BitFold {
    uint32_t allHigh = ~0u; // AND of the samples
    uint32_t anyHigh = 0;   // OR of the samples

    void Add(const BitFold& other) {
        allHigh &= other.allHigh;
        anyHigh |= other.anyHigh;
    }
    bool operator==(const BitFold&) const = default;
};

// Kept inline and branch-free so that the compiler turns it into vector code: it is the loop
// that reads every sample of a zoomed-out view.
inline BitFold FoldSamples(const uint32_t* samples, size_t count) {
    uint32_t allHigh = ~0u;
    uint32_t anyHigh = 0;
    for (size_t i = 0; i < count; ++i) {
        allHigh &= samples[i];
        anyHigh |= samples[i];
    }
    return {allHigh, anyHigh};
}

} // namespace podcore::analysis
