// Scans samples for the decoders. Samples in memory are read in place: a search for a change of
// the watched lines compares four samples at a time and passes over quiet stretches at the
// memory's pace, and the levels of a line over a block of 64 samples come as one bit mask, so
// that a decoder's cost hardly depends on how often the lines change. Samples read through the
// library are collected into blocks first and give the same results.
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

    explicit SampleScanner(const SampleReader& samples)
        : samples_(samples), memory_(samples.InMemory().data()),
          memorySize_(static_cast<int64_t>(samples.InMemory().size())) {}

    // The sample at `index`, as the reader gives it.
    uint32_t At(int64_t index) const {
        if (static_cast<uint64_t>(index) < static_cast<uint64_t>(memorySize_))
            return memory_[index];
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
    // The search over indexes the samples in memory hold.
    int64_t FindDifferingInMemory(int64_t from, int64_t end, uint32_t mask, uint32_t value) const;
    // The search block by block, for samples read through the library.
    int64_t FindDifferingInBlocks(int64_t from, int64_t end, uint32_t mask, uint32_t value);

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
    const uint32_t* const memory_; // null when the samples come through the library
    const int64_t memorySize_;
    int64_t start_ = std::numeric_limits<int64_t>::min(); // no block in hand
    const uint32_t* block_ = nullptr; // the block in hand: in memory, or in copy_
    std::array<uint32_t, kBlock> copy_{};
    std::array<uint64_t, 32> levels_{};
    uint32_t levelsKnown_ = 0; // the bits whose levels are in levels_
    // Byte `lane` of each sample of the block, for the lanes set in lanesKnown_.
    alignas(16) std::array<std::array<uint8_t, kBlock>, 4> lanes_{};
    uint32_t lanesKnown_ = 0;
};

} // namespace norrik::decoders
