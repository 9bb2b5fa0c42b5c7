// Samples collected in blocks, so that a file of unknown length is read without copying what is
// already read each time the store grows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace norrik::interchange {

class SampleBlocks {
public:
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    uint32_t Last() const { return blocks_.back()[(size_ - 1) % kBlockSamples]; }

    // Room for up to `wanted` more samples at the end, at least one; the caller fills all of it.
    std::span<uint32_t> Extend(size_t wanted);
    void AppendRun(uint32_t word, size_t count);
    void Append(std::span<const uint32_t> words);

    // Copies the first `count` samples (all, when there are fewer) to `out`.
    void CopyTo(uint32_t* out, size_t count) const;

private:
    // A huge page each: a long file's fresh memory then costs a fault per 2 MiB, not per 4 KiB.
    static constexpr size_t kBlockSamples = size_t{1} << 19;
    struct FreeBlock {
        void operator()(uint32_t* block) const;
    };
    // Left uninitialised: every sample is written before it is read.
    std::vector<std::unique_ptr<uint32_t[], FreeBlock>> blocks_;
    size_t size_ = 0;
};

} // namespace norrik::interchange
