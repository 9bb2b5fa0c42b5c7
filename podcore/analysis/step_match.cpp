#include "analysis/step_match.h"

namespace podcore::analysis {

namespace {

// Samples are tested a chunk at a time with a loop the compiler can vectorise; only a chunk that
// holds a match is walked sample by sample.
constexpr uint32_t kChunk = 64;

bool Matches(uint32_t sample, SearchStep step) {
    return (sample & step.mask) == step.value;
}

bool ChunkHasMatch(const uint32_t* chunk, SearchStep step) {
    const uint32_t mask = step.mask;
    const uint32_t value = step.value;
    uint32_t hits = 0;
    for (uint32_t i = 0; i < kChunk; ++i)
        hits |= static_cast<uint32_t>((chunk[i] & mask) == value);
    return hits != 0;
}

} // namespace

std::optional<uint32_t> FindFirstMatch(const uint32_t* samples, uint32_t begin, uint32_t end,
                                       SearchStep step) {
    uint32_t pos = begin;
    while (end > pos && end - pos >= kChunk && !ChunkHasMatch(samples + pos, step))
        pos += kChunk;
    for (; pos < end; ++pos) {
        if (Matches(samples[pos], step))
            return pos;
    }
    return std::nullopt;
}

std::optional<uint32_t> FindLastMatch(const uint32_t* samples, uint32_t begin, uint32_t end,
                                      SearchStep step) {
    uint32_t pos = end;
    while (pos > begin && pos - begin >= kChunk && !ChunkHasMatch(samples + pos - kChunk, step))
        pos -= kChunk;
    for (; pos > begin; --pos) {
        if (Matches(samples[pos - 1], step))
            return pos - 1;
    }
    return std::nullopt;
}

} // namespace podcore::analysis
