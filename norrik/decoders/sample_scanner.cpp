#include "decoders/sample_scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace norrik::decoders {

int64_t SampleScanner::FindDiffering(int64_t from, int64_t end, uint32_t mask, uint32_t value) {
    while (from < end) {
        const int64_t start = BlockStart(from);
        if (start != start_)
            Load(start);
        uint64_t hits = ~MatchBits(mask, value) & (~uint64_t{0} << (from - start));
        if (end - start < kBlock)
            hits &= (uint64_t{1} << (end - start)) - 1;
        if (hits != 0)
            return start + std::countr_zero(hits);
        from = start + kBlock;
    }
    return end;
}

void SampleScanner::Load(int64_t start) {
    samples_.Read(start, block_);
    start_ = start;
    levelsKnown_ = 0;
}

void SampleScanner::FindLevels(int bit) {
    uint64_t levels = 0;
#if defined(__SSE2__)
    // Four samples at a time: the line's bit moved to the sign bit, whose mask the
    // processor gathers in one instruction.
    const __m128i toSign = _mm_cvtsi32_si128(31 - bit);
    for (int j = 0; j < kBlock; j += 4) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&block_[j]));
        const __m128 signs = _mm_castsi128_ps(_mm_sll_epi32(samples, toSign));
        levels |= static_cast<uint64_t>(_mm_movemask_ps(signs)) << j;
    }
#else
    for (int j = 0; j < kBlock; ++j)
        levels |= static_cast<uint64_t>((block_[j] >> bit) & 1) << j;
#endif
    levels_[bit] = levels;
    levelsKnown_ |= 1u << bit;
}

} // namespace norrik::decoders
