#include "capture/capture_summary.h"

#include "analysis/summary_cache.h"

#include <algorithm>
#include <new>
#include <utility>

namespace podcore::capture {

namespace {

// The summary still describes the buffer the ring lives in.
bool Usable(const CaptureState& state) {
    const RingSummary& ring = state.ringSummary;
    return ring.samples != nullptr && ring.samples == state.buffer.samples &&
           ring.length == state.buffer.bufferLength;
}

void Discard(RingSummary& ring) {
    ring.summary.Clear();
    ring.samples = nullptr;
    ring.length = 0;
}

uint64_t BlocksHolding(uint64_t samples) {
    return (samples + kBlockSamples - 1) / kBlockSamples;
}

} // namespace

void PrepareRingSummary(CaptureState& state) {
    RingSummary& ring = state.ringSummary;
    try {
        ring.summary.Resize(state.buffer.bufferLength);
        ring.samples = state.buffer.samples;
        ring.length = state.buffer.bufferLength;
    } catch (const std::bad_alloc&) {
        Discard(ring);
    }
}

void SummariseRingBlock(CaptureState& state, uint32_t blockFirst) {
    if (Usable(state))
        state.ringSummary.summary.SummariseRange(state.buffer.samples, blockFirst, kBlockSamples);
}

uint32_t SummariseUnprocessedWrites(CaptureState& state) {
    if (!Usable(state))
        return 0;
    const StreamPositions& positions = state.positions;
    const uint32_t ringBlocks = state.buffer.bufferLength / kBlockSamples;
    const uint64_t writtenBlocks =
        BlocksHolding(std::max(positions.mainSamples, positions.auxSamples));
    const uint64_t unprocessed =
        std::min<uint64_t>(writtenBlocks - positions.blocksProcessed, ringBlocks);
    for (uint64_t k = 0; k < unprocessed; ++k) {
        const auto block = static_cast<uint32_t>((positions.blocksProcessed + k) % ringBlocks);
        SummariseRingBlock(state, block * kBlockSamples);
    }
    return static_cast<uint32_t>(std::min<uint64_t>(writtenBlocks, ringBlocks) * kBlockSamples);
}

void HandOverRingSummary(CaptureState& state, uint32_t rotatedBy, uint32_t covered) {
    RingSummary& ring = state.ringSummary;
    if (Usable(state)) {
        ring.summary.RotateLeft(rotatedBy);
        ring.summary.Truncate(std::min(covered, state.buffer.actualCaptureLength.load()));
        analysis::AdoptSummary(state.buffer, std::move(ring.summary));
    }
    Discard(ring);
}

} // namespace podcore::capture
