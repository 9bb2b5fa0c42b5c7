#include "capture/ring_unroll.h"

#include <cstring>
#include <memory>
#include <numeric>

namespace podcore::capture {

namespace {

uint32_t* Block(uint32_t* samples, uint32_t block) {
    return samples + size_t{block} * kBlockSamples;
}

void CopyBlock(uint32_t* to, const uint32_t* from) {
    std::memcpy(to, from, kBlockSamples * sizeof(uint32_t));
}

} // namespace

void RotateBlocksLeft(uint32_t* samples, uint32_t blocks, uint32_t oldest) {
    if (blocks == 0 || oldest % blocks == 0)
        return;
    oldest %= blocks;
    const auto spare = std::make_unique_for_overwrite<uint32_t[]>(kBlockSamples);
    const uint32_t cycles = std::gcd(blocks, oldest);
    for (uint32_t cycle = 0; cycle < cycles; ++cycle) {
        CopyBlock(spare.get(), Block(samples, cycle));
        uint32_t vacant = cycle;
        for (uint32_t source = (vacant + oldest) % blocks; source != cycle;
             source = (vacant + oldest) % blocks) {
            CopyBlock(Block(samples, vacant), Block(samples, source));
            vacant = source;
        }
        CopyBlock(Block(samples, vacant), spare.get());
    }
}

uint32_t UnrollRing(CaptureState& state) {
    const uint32_t startIndex = state.StartIndex;
    const uint32_t length = state.buffer.bufferLength;
    // A buffer replaced since the capture no longer holds its ring; there is nothing to rotate.
    if (startIndex == 0 || startIndex >= length || state.buffer.samples == nullptr)
        return 0;
    const uint32_t blocks = length / kBlockSamples;
    const uint32_t oldest = startIndex / kBlockSamples;
    RotateBlocksLeft(state.buffer.samples, blocks, oldest);

    const uint32_t oldestFirst = oldest * kBlockSamples;
    const uint32_t trigger = state.TriggerIndex;
    state.TriggerIndex =
        trigger < oldestFirst ? trigger + (blocks - oldest) * kBlockSamples : trigger - oldestFirst;
    state.StartIndex = 0;
    state.EndIndex = blocks * kBlockSamples;
    return oldestFirst;
}

} // namespace podcore::capture
