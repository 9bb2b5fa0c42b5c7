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

    // Sizes the summary for the whole blocks among count samples without summarising any (the
    // memory of a summary of that size is reused). Throws std::bad_alloc.
    void Resize(uint32_t count);

    // Summarises samples [first, first + count), both multiples of kBaseBlock, of a summary
    // sized to hold them, and refolds every coarser block over them. Ranges may come in any
    // order: once every range is in, the summary is the one Build makes.
    void SummariseRange(const uint32_t* samples, uint32_t first, uint32_t count);

    // Follows samples rotated left by shift, a multiple of kBaseBlock below the summarised
    // count: the sample at s moves to (s - shift) mod count. Levels whose blocks move whole are
    // rotated, the coarser ones folded anew from them.
    void RotateLeft(uint32_t shift);

    // Keeps only the summary of the first count samples (fewer than it holds).
    void Truncate(uint32_t count);

    // Samples covered by the summary's blocks, from sample 0.
    uint64_t SummarisedSamples() const;

    // Frees the summary; Fold then reads every sample directly.
    void Clear();

    // The fold of samples [begin, end), the same as FoldSamples over them: the partial blocks
    // at either edge are read from samples, everything between from the summary.
    BitFold Fold(const uint32_t* samples, uint64_t begin, uint64_t end) const;

    size_t Levels() const { return levels_.size(); }
    size_t MemoryBytes() const;

    bool operator==(const BufferSummary&) const = default;

private:
    // Sizes the levels for this many level-0 blocks.
    void Allocate(size_t blocks);

    // Refolds the blocks of levels [level, top] that overlap level-0 blocks [first, last).
    void FoldLevelsAbove(size_t level, uint64_t first, uint64_t last);

    // Folds level-0 blocks [first, last), climbing to coarser levels for the middle.
    BitFold FoldBlocks(uint64_t first, uint64_t last) const;

    std::vector<std::vector<BitFold>> levels_;
};

} // namespace podcore::analysis
