#include "decoders/sample_scanner.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace norrik::decoders {

namespace {

// The first j below `count` with (samples[j] & mask) != value; `count` when there is none.
// Sixteen samples are compared per step, so a stretch where the lines keep still costs a few
// instructions per sample.
int64_t FirstDiffering(const uint32_t* samples, int64_t count, uint32_t mask, uint32_t value) {
    if ((value & ~mask) != 0)
        return 0;
    int64_t j = 0;
#if defined(__SSE2__)
    const __m128i lines = _mm_set1_epi32(static_cast<int>(mask));
    const __m128i levels = _mm_set1_epi32(static_cast<int>(value));
    const auto differences = [&](int64_t at) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + at));
        return _mm_xor_si128(_mm_and_si128(four, lines), levels);
    };
    // Bit i set when sample i of the four at `at` matches.
    const auto matching = [&](int64_t at) {
        const __m128i same = _mm_cmpeq_epi32(differences(at), _mm_setzero_si128());
        return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(same)));
    };
    for (; j + 16 <= count; j += 16) {
        const unsigned all = matching(j) | matching(j + 4) << 4 | matching(j + 8) << 8 |
                             matching(j + 12) << 12;
        if (all != 0xFFFF)
            return j + std::countr_zero(~all);
    }
#endif
    for (; j < count; ++j) {
        if ((samples[j] & mask) != value)
            return j;
    }
    return count;
}

} // namespace

int64_t SampleScanner::FindDiffering(int64_t from, int64_t end, uint32_t mask, uint32_t value) {
    if (from >= end)
        return end;
    // Every index before 0 reads the last sample, so they all differ or none does.
    if (from < 0) {
        if ((At(from) & mask) != value)
            return from;
        from = std::min<int64_t>(end, 0);
    }
    if (memory_ == nullptr)
        return FindDifferingInBlocks(from, end, mask, value);
    return FindDifferingInMemory(from, end, mask, value);
}

int64_t SampleScanner::FindDifferingInMemory(int64_t from, int64_t end, uint32_t mask,
                                             uint32_t value) const {
    const int64_t inside = std::min(end, memorySize_);
    if (from < inside) {
        const int64_t found = from + FirstDiffering(memory_ + from, inside - from, mask, value);
        if (found < inside)
            return found;
        from = inside;
    }
    // Past the end every index reads the last sample (0 when there are none).
    if (from < end && (At(from) & mask) != value)
        return from;
    return end;
}

int64_t SampleScanner::FindDifferingInBlocks(int64_t from, int64_t end, uint32_t mask,
                                             uint32_t value) {
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
    if (start >= 0 && start + kBlock <= memorySize_) {
        block_ = memory_ + start;
    } else {
        samples_.Read(start, copy_);
        block_ = copy_.data();
    }
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
