#include "decoders/sample_scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace norrik::decoders {

void SampleScanner::Load(int64_t start) {
    // A local copy keeps the reader in registers across the library calls.
    const SampleReader samples = samples_;
    for (int j = 0; j < kBlock; ++j)
        block_[j] = samples(start + j);
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
