#include "analysis/buffer_summary.h"

#include <algorithm>

namespace podcore::analysis {

namespace {

BitFold FoldRun(const std::vector<BitFold>& level, uint64_t first, uint64_t last) {
    BitFold fold;
    for (uint64_t i = first; i < last; ++i)
        fold.Add(level[i]);
    return fold;
}

uint64_t RoundUp(uint64_t value, uint64_t unit) {
    return (value + unit - 1) / unit * unit;
}

uint64_t RoundDown(uint64_t value, uint64_t unit) {
    return value / unit * unit;
}

} // namespace

void BufferSummary::Build(const uint32_t* samples, uint32_t count) {
    const size_t blocks = samples == nullptr ? 0 : count / kBaseBlock;
    // A capture or a file read into the same buffer reuses the memory of the last summary.
    if (levels_.empty() || levels_[0].size() != blocks)
        Allocate(blocks);
    if (blocks == 0)
        return;

    std::vector<BitFold>& base = levels_[0];
    for (size_t i = 0; i < blocks; ++i)
        base[i] = FoldSamples(samples + i * kBaseBlock, kBaseBlock);
    for (size_t level = 1; level < levels_.size(); ++level) {
        const std::vector<BitFold>& below = levels_[level - 1];
        std::vector<BitFold>& above = levels_[level];
        for (size_t i = 0; i < above.size(); ++i)
            above[i] = FoldRun(below, i * kFanOut, (i + 1) * kFanOut);
    }
}

void BufferSummary::Allocate(size_t blocks) {
    // The old summary goes first, so that a rebuild never holds two of them.
    Clear();
    // A level pays off as long as it joins at least one whole group of the level below.
    for (size_t size = blocks; size > 0; size /= kFanOut) {
        levels_.emplace_back(size);
        if (size < kFanOut)
            break;
    }
}

void BufferSummary::Clear() {
    levels_.clear();
    levels_.shrink_to_fit();
}

BitFold BufferSummary::Fold(const uint32_t* samples, uint64_t begin, uint64_t end) const {
    const uint64_t summarised = levels_.empty() ? 0 : levels_[0].size();
    const uint64_t firstBlock = RoundUp(begin, kBaseBlock) / kBaseBlock;
    const uint64_t lastBlock = std::min(end / kBaseBlock, summarised);
    if (firstBlock >= lastBlock)
        return FoldSamples(samples + begin, end - begin);

    const uint64_t middleBegin = firstBlock * kBaseBlock;
    const uint64_t middleEnd = lastBlock * kBaseBlock;
    BitFold fold = FoldSamples(samples + begin, middleBegin - begin);
    fold.Add(FoldSamples(samples + middleEnd, end - middleEnd));
    fold.Add(FoldBlocks(firstBlock, lastBlock));
    return fold;
}

BitFold BufferSummary::FoldBlocks(uint64_t first, uint64_t last) const {
    BitFold fold;
    size_t level = 0;
    // Each level above holds every whole group of the one below, so [first, last) of a level
    // always maps to blocks that exist one level up.
    while (level + 1 < levels_.size()) {
        const uint64_t groupBegin = RoundUp(first, kFanOut);
        const uint64_t groupEnd = RoundDown(last, kFanOut);
        if (groupBegin >= groupEnd)
            break;
        fold.Add(FoldRun(levels_[level], first, groupBegin));
        fold.Add(FoldRun(levels_[level], groupEnd, last));
        first = groupBegin / kFanOut;
        last = groupEnd / kFanOut;
        ++level;
    }
    fold.Add(FoldRun(levels_[level], first, last));
    return fold;
}

size_t BufferSummary::MemoryBytes() const {
    size_t bytes = 0;
    for (const std::vector<BitFold>& level : levels_)
        bytes += level.size() * sizeof(BitFold);
    return bytes;
}

} // namespace podcore::analysis
