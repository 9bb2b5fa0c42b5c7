// Where the lines change in a run of samples, found 64 samples at a time: the text writers
// spend most of their time looking for the few samples that differ from the one before, and
// a bit mask per block keeps that search free of a branch per sample.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace norrik::interchange {

class SampleChanges {
public:
    SampleChanges(const uint32_t* samples, size_t count, uint32_t lines)
        : samples_(samples), count_(count), lines_(lines) {}

    // The next sample, after those given before, whose lines differ from the sample before it;
    // the count when there is none.
    size_t Next() {
        while (mask_ == 0) {
            if (blockEnd_ >= count_)
                return count_;
            blockStart_ = blockEnd_;
            blockEnd_ = count_ - blockStart_ < kBlock ? count_ : blockStart_ + kBlock;
            mask_ = blockEnd_ - blockStart_ == kBlock ? BlockMask(samples_ + blockStart_)
                                                      : ShortMask(blockStart_, blockEnd_);
        }
        const size_t change = blockStart_ + size_t(std::countr_zero(mask_));
        mask_ &= mask_ - 1;
        return change;
    }

private:
    static constexpr size_t kBlock = 64;
    using Lanes = uint32_t __attribute__((vector_size(16)));

    static Lanes Load(const uint32_t* at) {
        Lanes lanes;
        std::memcpy(&lanes, at, sizeof lanes);
        return lanes;
    }

    // Bit k set where samples[k] differs from samples[k - 1] in the lines, for 32 samples: four
    // lanes compared at once, each lane's result kept as one bit of the mask.
    uint32_t HalfBlockMask(const uint32_t* samples) const {
        const Lanes lines = {lines_, lines_, lines_, lines_};
        const Lanes laneBits = {1, 2, 4, 8};
        Lanes mask = {0, 0, 0, 0};
        for (unsigned step = 0; step < 8; ++step) {
            const Lanes differ = (Load(samples + 4 * step) ^ Load(samples + 4 * step - 1)) & lines;
            mask |= reinterpret_cast<Lanes>(differ != 0) & (laneBits << (4 * step));
        }
        return mask[0] | mask[1] | mask[2] | mask[3];
    }

    uint64_t BlockMask(const uint32_t* samples) const {
        return HalfBlockMask(samples) | uint64_t{HalfBlockMask(samples + 32)} << 32;
    }

    uint64_t ShortMask(size_t from, size_t to) const {
        uint64_t mask = 0;
        for (size_t i = from; i < to; ++i)
            mask |= uint64_t{((samples_[i] ^ samples_[i - 1]) & lines_) != 0} << (i - from);
        return mask;
    }

    const uint32_t* samples_;
    size_t count_;
    uint32_t lines_;
    // The first block starts at sample 1, the first that has one before it.
    size_t blockStart_ = 1;
    size_t blockEnd_ = 1;
    uint64_t mask_ = 0;
};

} // namespace norrik::interchange
