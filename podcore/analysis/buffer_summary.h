// A pyramid of per-block AND/OR pairs over a sample buffer, so that a zoomed-out column costs
// the same whether it spans two thousand samples or half a billion.
#pragma once

#include "analysis/bit_fold.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace podcore::analysis {

class BufferSummary {
public:
    // Level 0 summarises blocks of kBaseBlock samples (8 bytes per 256 bytes of samples); each
    // level above joins kFanOut blocks of the one below.
    static constexpr uint32_t kBaseBlock = 64;
    static constexpr uint32_t kFanOut = 16;

    // Summarises the whole blocks among the first count samples; a tail shorter than a block
    // stays unsummarised. Throws std::bad_alloc when the memory is not there.
    void Build(const uint32_t* samples, uint32_t count);

    // Frees the summary; Fold then reads every sample directly.
    void Clear();

    // The fold of samples [begin, end), the same as FoldSamples over them: the partial blocks
    // at either edge are read from samples, everything between from the summary.
    BitFold Fold(const uint32_t* samples, uint64_t begin, uint64_t end) const;

    size_t Levels() const { return levels_.size(); }
    size_t MemoryBytes() const;

private:
    // Sizes the levels for this many level-0 blocks.
    void Allocate(size_t blocks);

    // Folds level-0 blocks [first, last), climbing to coarser levels for the middle.
    BitFold FoldBlocks(uint64_t first, uint64_t last) const;

    std::vector<std::vector<BitFold>> levels_;
};

} // namespace podcore::analysis
