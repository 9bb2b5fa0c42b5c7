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
    static constexpr int kBlock = 64;

    explicit SampleScanner(const SampleReader& samples) : samples_(samples) {}

    // The sample at `index`, from the block in hand when it holds it.
    uint32_t At(int64_t index) const {
        const uint64_t offset = static_cast<uint64_t>(index) - static_cast<uint64_t>(start_);
        return offset < kBlock ? block_[offset] : samples_(index);
    }

    // The first index in [from, end) whose sample has (sample & mask) != value; `end` when
    // there is none.
    int64_t FindDiffering(int64_t from, int64_t end, uint32_t mask, uint32_t value);

    // The first sample of the block that holds `index`.
    static int64_t BlockStart(int64_t index) { return index & ~int64_t{kBlock - 1}; }

    // Bit j set when sample `start` + j has the bit of `line` set; `start` is a block start.
    // A `line` of 0 is a line that is always low.
    uint64_t Levels(int64_t start, uint32_t line) {
        if (start != start_)
            Load(start);
        return line == 0 ? 0 : LevelBits(std::countr_zero(line));
    }

private:
    // Bit j set when sample j of the block in hand has (sample & mask) == value.
    uint64_t MatchBits(uint32_t mask, uint32_t value) {
        if ((value & ~mask) != 0)
            return 0;
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
    void PackLane(int lane);

    const SampleReader samples_;
    int64_t start_ = std::numeric_limits<int64_t>::min(); // no block in hand
    std::array<uint32_t, kBlock> block_{};
    std::array<uint64_t, 32> levels_{};
    uint32_t levelsKnown_ = 0; // the bits whose levels are in levels_
    // Byte `lane` of each sample of the block, for the lanes set in lanesKnown_.
    alignas(16) std::array<std::array<uint8_t, kBlock>, 4> lanes_{};
    uint32_t lanesKnown_ = 0;
};

} // namespace norrik::decoders
