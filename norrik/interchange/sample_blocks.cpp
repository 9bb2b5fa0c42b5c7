#include "interchange/sample_blocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace norrik::interchange {
namespace {

constexpr size_t kBlockBytes = (size_t{1} << 19) * sizeof(uint32_t);

uint32_t* NewBlock() {
    void* block = std::aligned_alloc(kBlockBytes, kBlockBytes);
    if (block == nullptr)
        throw std::bad_alloc();
    ::madvise(block, kBlockBytes, MADV_HUGEPAGE);
    return static_cast<uint32_t*>(block);
}

} // namespace

void SampleBlocks::FreeBlock::operator()(uint32_t* block) const {
    std::free(block);
}

std::span<uint32_t> SampleBlocks::Extend(size_t wanted) {
    const size_t used = size_ % kBlockSamples;
    if (used == 0 && size_ == blocks_.size() * kBlockSamples)
        blocks_.emplace_back(NewBlock());
    const size_t room = std::min(wanted, kBlockSamples - used);
    size_ += room;
    return {blocks_.back().get() + used, room};
}

void SampleBlocks::AppendRun(uint32_t word, size_t count) {
    while (count > 0) {
        const std::span<uint32_t> room = Extend(count);
        std::fill(room.begin(), room.end(), word);
        count -= room.size();
    }
}

void SampleBlocks::Append(std::span<const uint32_t> words) {
    while (!words.empty()) {
        const std::span<uint32_t> room = Extend(words.size());
        std::memcpy(room.data(), words.data(), room.size_bytes());
        words = words.subspan(room.size());
    }
}

void SampleBlocks::CopyTo(uint32_t* out, size_t count) const {
    size_t left = std::min(count, size_);
    for (const auto& block : blocks_) {
        if (left == 0)
            break;
        const size_t part = std::min(left, kBlockSamples);
        std::memcpy(out, block.get(), part * sizeof(uint32_t));
        out += part;
        left -= part;
    }
}

} // namespace norrik::interchange
