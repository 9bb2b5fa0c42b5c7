#include "capture/block_store.h"

#include "capture/block_processing.h"
#include "capture/capture_summary.h"

#include <algorithm>
#include <mutex>

namespace podcore::capture {

namespace {

// Every 512-byte packet of the auxiliary stream starts with two bytes that are not samples.
constexpr uint32_t kAuxPacketBytes = 512;
constexpr uint32_t kAuxHeaderBytes = 2;

// Both merges rewrite whole words: the other stream's byte is kept and byte 3 stays 0.
void MergeMainPairs(uint32_t* out, const uint8_t* pairs, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i)
        out[i] = (out[i] & 0x00FF0000u) | pairs[2 * i] | uint32_t{pairs[2 * i + 1]} << 8;
}

void MergeAuxBytes(uint32_t* out, const uint8_t* bytes, uint64_t count) {
    for (uint64_t k = 0; k < count; ++k) {
        const uint32_t aux = uint32_t{bytes[k]} << 16;
        out[2 * k] = (out[2 * k] & 0x0000FFFFu) | aux;
        out[2 * k + 1] = (out[2 * k + 1] & 0x0000FFFFu) | aux;
    }
}

// Merges `units` units of a stream (each `samplesPerUnit` samples) into the ring from the
// sample count `position` on, in runs that stop at the end of the ring.
template <uint32_t samplesPerUnit, typename Merge>
void WriteWrapped(const CaptureState& state, uint64_t position, const uint8_t* data,
                  uint64_t units, Merge merge) {
    constexpr uint32_t bytesPerUnit = samplesPerUnit == 1 ? 2 : 1;
    uint32_t* samples = state.buffer.samples;
    const uint32_t ringLength = state.buffer.bufferLength;
    auto at = static_cast<uint32_t>(position % ringLength);
    while (units > 0) {
        const uint64_t run = std::min<uint64_t>(units, (ringLength - at) / samplesPerUnit);
        merge(samples + at, data, run);
        data += run * bytesPerUnit;
        units -= run;
        at = static_cast<uint32_t>((at + run * samplesPerUnit) % ringLength);
    }
}

void WriteMain(CaptureState& state, const uint8_t* pairs, uint64_t count) {
    WriteWrapped<1>(state, state.positions.mainSamples, pairs, count, MergeMainPairs);
    state.positions.mainSamples += count;
}

// The ring holds an even number of samples, so a byte's two samples never straddle its end.
void WriteAux(CaptureState& state, const uint8_t* bytes, uint64_t count) {
    WriteWrapped<2>(state, state.positions.auxSamples, bytes, count, MergeAuxBytes);
    state.positions.auxSamples += 2 * count;
}

// The first two bytes of each packet of a transfer are dropped by giving their four samples the
// packet's third byte. A packet shorter than that has no sample byte to take and is left as it
// came.
void HoldAux(std::vector<uint8_t>& held, const uint8_t* data, uint32_t length) {
    const size_t transferStart = held.size();
    held.insert(held.end(), data, data + length);
    for (uint64_t packet = 0; packet + kAuxHeaderBytes < length; packet += kAuxPacketBytes) {
        for (uint32_t k = 0; k < kAuxHeaderBytes; ++k)
            held[transferStart + packet + k] = data[packet + kAuxHeaderBytes];
    }
}

// The end of what a stream at `arrived` samples (written and held) may write: the block both
// streams fill, or further when holding more would take more than a ring.
uint64_t WriteLimit(const CaptureState& state, uint64_t arrived) {
    const uint64_t shared = (state.positions.blocksProcessed + 1) * kBlockSamples;
    const uint32_t ringLength = state.buffer.bufferLength;
    return std::max(shared, arrived > ringLength ? arrived - ringLength : 0);
}

void Consume(std::vector<uint8_t>& held, uint64_t bytes) {
    held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(bytes));
}

// Writes what each stream may write now; true when anything was written.
bool WriteHeld(CaptureState& state) {
    StreamPositions& positions = state.positions;
    const uint64_t mainArrived = positions.mainSamples + positions.heldMain.size() / 2;
    const uint64_t mainPairs = std::min<uint64_t>(
        positions.heldMain.size() / 2, WriteLimit(state, mainArrived) - positions.mainSamples);
    WriteMain(state, positions.heldMain.data(), mainPairs);
    Consume(positions.heldMain, 2 * mainPairs);

    const uint64_t auxArrived = positions.auxSamples + 2 * positions.heldAux.size();
    const uint64_t auxBytes = std::min<uint64_t>(
        positions.heldAux.size(), (WriteLimit(state, auxArrived) - positions.auxSamples) / 2);
    WriteAux(state, positions.heldAux.data(), auxBytes);
    Consume(positions.heldAux, auxBytes);
    return mainPairs + auxBytes != 0;
}

// Processes, in ring order, every block that both streams have filled since the last call.
uint32_t ProcessCompletedBlocks(CaptureState& state) {
    StreamPositions& positions = state.positions;
    const uint64_t filled =
        std::min(positions.mainSamples, positions.auxSamples) / kBlockSamples;
    const uint32_t blocksInRing = state.buffer.bufferLength / kBlockSamples;
    uint32_t processed = 0;
    while (positions.blocksProcessed < filled && state.Running != 0) {
        const auto block = static_cast<uint32_t>(positions.blocksProcessed % blocksInRing);
        ProcessBlock(state, block * kBlockSamples);
        SummariseRingBlock(state, block * kBlockSamples);
        ++positions.blocksProcessed;
        ++processed;
    }
    return processed;
}

// Writes the held bytes and processes the blocks they complete until neither moves on any more.
uint32_t Flush(CaptureState& state) {
    uint32_t processed = 0;
    while (state.Running != 0 && WriteHeld(state))
        processed += ProcessCompletedBlocks(state);
    return processed;
}

} // namespace

// Running is tested under the lock: a store that waited for the lock while the other stream's
// block ended the capture must not write past that end into the oldest samples.
void StoreMainBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    if (state.Running == 0 || length == 0)
        return;
    std::vector<uint8_t>& held = state.positions.heldMain;
    held.insert(held.end(), data, data + length);
    Flush(state);
}

uint32_t StoreAuxBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    if (state.Running == 0 || length == 0)
        return 0;
    HoldAux(state.positions.heldAux, data, length);
    return Flush(state);
}

} // namespace podcore::capture
