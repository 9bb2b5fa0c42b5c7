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

// Level 0 holds every whole block; each level above holds every whole group of the one below,
// as long as the level below had one.
std::vector<size_t> LevelSizes(size_t blocks) {
    std::vector<size_t> sizes;
    for (size_t size = blocks; size > 0; size /= BufferSummary::kFanOut) {
        sizes.push_back(size);
        if (size < BufferSummary::kFanOut)
            break;
    }
    return sizes;
}

} // namespace

void BufferSummary::Build(const uint32_t* samples, uint32_t count) {
    const uint32_t summarised = samples == nullptr ? 0 : count / kBaseBlock * kBaseBlock;
    Resize(summarised);
    SummariseRange(samples, 0, summarised);
}

void BufferSummary::Resize(uint32_t count) {
    const size_t blocks = count / kBaseBlock;
    // A capture or a file read into the same buffer reuses the memory of the last summary.
    if (levels_.empty() || levels_[0].size() != blocks)
        Allocate(blocks);
}

void BufferSummary::Allocate(size_t blocks) {
    // The old summary goes first, so that a rebuild never holds two of them.
    Clear();
    for (size_t size : LevelSizes(blocks))
        levels_.emplace_back(size);
}

void BufferSummary::Clear() {
    levels_.clear();
    levels_.shrink_to_fit();
}

void BufferSummary::SummariseRange(const uint32_t* samples, uint32_t first, uint32_t count) {
    const uint64_t firstBlock = first / kBaseBlock;
    const uint64_t lastBlock =
        std::min((uint64_t{first} + count) / kBaseBlock, SummarisedSamples() / kBaseBlock);
    if (firstBlock >= lastBlock)
        return;
    std::vector<BitFold>& base = levels_[0];
    for (uint64_t i = firstBlock; i < lastBlock; ++i)
        base[i] = FoldSamples(samples + i * kBaseBlock, kBaseBlock);
    FoldLevelsAbove(1, firstBlock, lastBlock);
}

void BufferSummary::FoldLevelsAbove(size_t level, uint64_t first, uint64_t last) {
    for (; level < levels_.size(); ++level) {
        const std::vector<BitFold>& below = levels_[level - 1];
        std::vector<BitFold>& above = levels_[level];
        // Every block that holds one of the changed blocks below, the partly covered included.
        first /= kFanOut;
        last = std::min<uint64_t>(RoundUp(last, kFanOut) / kFanOut, above.size());
        if (first >= last)
            return;
        for (uint64_t i = first; i < last; ++i)
            above[i] = FoldRun(below, i * kFanOut, (i + 1) * kFanOut);
    }
}

void BufferSummary::RotateLeft(uint32_t shift) {
    const uint64_t total = SummarisedSamples();
    if (total == 0 || shift % total == 0)
        return;
    uint64_t span = kBaseBlock;
    for (size_t level = 0; level < levels_.size(); ++level, span *= kFanOut) {
        std::vector<BitFold>& blocks = levels_[level];
        // A block that would straddle the seam, or a level short of the whole ring, cannot
        // simply move; from here up every level is folded again from the one below.
        if (level > 0 && (shift % span != 0 || blocks.size() * span != total)) {
            FoldLevelsAbove(level, 0, levels_[level - 1].size());
            return;
        }
        const auto moved = static_cast<std::ptrdiff_t>(shift % total / span);
        std::rotate(blocks.begin(), blocks.begin() + moved, blocks.end());
    }
}

void BufferSummary::Truncate(uint32_t count) {
    if (count / kBaseBlock >= SummarisedSamples() / kBaseBlock)
        return;
    // Each kept block still covers the same samples, so nothing needs folding again.
    const std::vector<size_t> sizes = LevelSizes(count / kBaseBlock);
    levels_.resize(sizes.size());
    for (size_t level = 0; level < sizes.size(); ++level)
        levels_[level].resize(sizes[level]);
}

uint64_t BufferSummary::SummarisedSamples() const {
    return levels_.empty() ? 0 : uint64_t{levels_[0].size()} * kBaseBlock;
}

BitFold BufferSummary::Fold(const uint32_t* samples, uint64_t begin, uint64_t end) const {
    const uint64_t summarised = SummarisedSamples() / kBaseBlock;
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
