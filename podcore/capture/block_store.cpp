#include "capture/block_store.h"

#include "capture/block_processing.h"

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
void WriteAux(const CaptureState& state, uint64_t position, const uint8_t* bytes,
              uint64_t count) {
    WriteWrapped<2>(state, position, bytes, count, MergeAuxBytes);
}

// The first two bytes of each packet are dropped by giving their four samples the packet's
// third byte. A packet shorter than that has no sample byte to take and is left as it came.
void FixUpAuxPackets(const CaptureState& state, uint64_t transferStart, const uint8_t* data,
                     uint32_t length) {
    for (uint64_t packet = 0; packet + kAuxHeaderBytes < length; packet += kAuxPacketBytes) {
        const uint8_t first = data[packet + kAuxHeaderBytes];
        const uint8_t replacement[kAuxHeaderBytes] = {first, first};
        WriteAux(state, transferStart + 2 * packet, replacement, kAuxHeaderBytes);
    }
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
        ++positions.blocksProcessed;
        ++processed;
    }
    return processed;
}

} // namespace

// Running is tested under the lock: a store that waited for the lock while the other stream's
// block ended the capture must not write past that end into the oldest samples.
void StoreMainBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    if (state.Running == 0 || length == 0)
        return;
    StreamPositions& positions = state.positions;
    uint32_t used = 0;
    if (positions.pendingMainByte) {
        const uint8_t pair[2] = {*positions.pendingMainByte, data[0]};
        positions.pendingMainByte.reset();
        WriteMain(state, pair, 1);
        used = 1;
    }
    const uint32_t pairs = (length - used) / 2;
    WriteMain(state, data + used, pairs);
    used += 2 * pairs;
    if (used < length)
        positions.pendingMainByte = data[used];
    ProcessCompletedBlocks(state);
}

uint32_t StoreAuxBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    if (state.Running == 0 || length == 0)
        return 0;
    const uint64_t transferStart = state.positions.auxSamples;
    WriteAux(state, transferStart, data, length);
    FixUpAuxPackets(state, transferStart, data, length);
    state.positions.auxSamples += 2 * uint64_t{length};
    return ProcessCompletedBlocks(state);
}

} // namespace podcore::capture
