// Scans samples in blocks of 64: the library is read in a tight loop of its own, and a search
// for line levels then works on bit masks of the block, so that its cost hardly depends on how
// often the lines change.
#pragma once

#include "decoders/sample_reader.h"

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

namespace norrik::decoders {

class SampleScanner {
public:
    explicit SampleScanner(const SampleReader& samples) : samples_(samples) {}

    // The sample at `index`, from the block in hand when it holds it.
    uint32_t At(int64_t index) const {
        const uint64_t offset = static_cast<uint64_t>(index) - static_cast<uint64_t>(start_);
        return offset < kBlock ? block_[offset] : samples_(index);
    }

    // The first index in [from, end) whose sample has (sample & mask) == value; `end` when
    // there is none.
    int64_t FindMatching(int64_t from, int64_t end, uint32_t mask, uint32_t value) {
        return Find<true>(from, end, mask, value);
    }

    // The first index in [from, end) whose sample has (sample & mask) != value; `end` when
    // there is none.
    int64_t FindDiffering(int64_t from, int64_t end, uint32_t mask, uint32_t value) {
        return Find<false>(from, end, mask, value);
    }

private:
    static constexpr int kBlock = 64;

    template <bool kMatching>
    int64_t Find(int64_t from, int64_t end, uint32_t mask, uint32_t value) {
        while (from < end) {
            const int64_t start = from & ~int64_t{kBlock - 1};
            if (start != start_)
                Load(start);
            uint64_t hits = MatchBits(mask, value);
            if constexpr (!kMatching)
                hits = ~hits;
            hits &= ~uint64_t{0} << (from - start);
            if (end - start < kBlock)
                hits &= (uint64_t{1} << (end - start)) - 1;
            if (hits != 0)
                return start + std::countr_zero(hits);
            from = start + kBlock;
        }
        return end;
    }

    // Bit j set when sample j of the block in hand has (sample & mask) == value.
    uint64_t MatchBits(uint32_t mask, uint32_t value) {
        if ((value & ~mask) != 0)
            return 0;
        if (std::has_single_bit(mask)) { // one line: the common case, kept short
            const uint64_t levels = LevelBits(std::countr_zero(mask));
            return value != 0 ? levels : ~levels;
        }
        uint64_t matching = ~uint64_t{0};
        for (uint32_t rest = mask; rest != 0; rest &= rest - 1) {
            const int bit = std::countr_zero(rest);
            const uint64_t levels = LevelBits(bit);
            matching &= ((value >> bit) & 1) != 0 ? levels : ~levels;
        }
        return matching;
    }

    // Bit j set when sample j of the block in hand has bit `bit` set.
    uint64_t LevelBits(int bit) {
        if ((levelsKnown_ & (1u << bit)) == 0)
            FindLevels(bit);
        return levels_[bit];
    }

    void Load(int64_t start);
    void FindLevels(int bit);

    const SampleReader samples_;
    int64_t start_ = std::numeric_limits<int64_t>::min(); // no block in hand
    std::array<uint32_t, kBlock> block_{};
    std::array<uint64_t, 32> levels_{};
    uint32_t levelsKnown_ = 0; // the bits whose levels are in levels_
};

} // namespace norrik::decoders
