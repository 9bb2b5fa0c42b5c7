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
    lanesKnown_ = 0;
}

#if defined(__SSE2__)

// The decoders' lines mostly share a byte of the sample (the pins P0 to P7, say): the block's
// bytes of that place are packed once, sixteen to a register, and each line's levels are then
// one shift and one mask gathering per sixteen samples.
void SampleScanner::PackLane(int lane) {
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i toLowByte = _mm_cvtsi32_si128(8 * lane);
    const auto byteOf = [&](int j) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&block_[j]));
        return _mm_and_si128(_mm_srl_epi32(samples, toLowByte), lowByte);
    };
    for (int j = 0; j < kBlock; j += 16) {
        const __m128i first = _mm_packs_epi32(byteOf(j), byteOf(j + 4));
        const __m128i second = _mm_packs_epi32(byteOf(j + 8), byteOf(j + 12));
        _mm_store_si128(reinterpret_cast<__m128i*>(&lanes_[lane][j]),
                        _mm_packus_epi16(first, second));
    }
    lanesKnown_ |= 1u << lane;
}

void SampleScanner::FindLevels(int bit) {
    const int lane = bit / 8;
    if ((lanesKnown_ & (1u << lane)) == 0)
        PackLane(lane);
    // The line's bit moved to the top of each byte, whose mask the processor gathers.
    const __m128i toTop = _mm_cvtsi32_si128(7 - bit % 8);
    uint64_t levels = 0;
    for (int j = 0; j < kBlock; j += 16) {
        const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(&lanes_[lane][j]));
        const auto top = static_cast<unsigned>(_mm_movemask_epi8(_mm_sll_epi16(bytes, toTop)));
        levels |= static_cast<uint64_t>(top) << j;
    }
    levels_[bit] = levels;
    levelsKnown_ |= 1u << bit;
}

#else

void SampleScanner::FindLevels(int bit) {
    uint64_t levels = 0;
    for (int j = 0; j < kBlock; ++j)
        levels |= static_cast<uint64_t>((block_[j] >> bit) & 1) << j;
    levels_[bit] = levels;
    levelsKnown_ |= 1u << bit;
}

#endif

} // namespace norrik::decoders
