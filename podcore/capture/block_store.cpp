#include "capture/block_store.h"

#include "capture/block_processing.h"
#include "capture/capture_summary.h"
#include "capture/stream_watch.h"

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
void WriteWrapped(const CaptureState& state, uint64_t position, const uint8_t* data, uint64_t units,
                  Merge merge) {
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
void HoldAux(HeldBytes& held, const uint8_t* data, uint32_t length) {
    const size_t transferStart = held.Size();
    held.Append(data, length);
    uint8_t* transfer = held.Data() + transferStart;
    for (uint64_t packet = 0; packet + kAuxHeaderBytes < length; packet += kAuxPacketBytes) {
        for (uint32_t k = 0; k < kAuxHeaderBytes; ++k)
            transfer[packet + k] = data[packet + kAuxHeaderBytes];
    }
}

uint64_t MainArrived(const StreamPositions& positions, uint64_t moreBytes = 0) {
    return positions.mainSamples + (positions.heldMain.Size() + moreBytes) / 2;
}

uint64_t AuxArrived(const StreamPositions& positions, uint64_t moreBytes = 0) {
    return positions.auxSamples + 2 * (positions.heldAux.Size() + moreBytes);
}

// True, and the capture marked broken, when `ahead` would lead `behind` by more than the store
// holds for: the other stream has stopped.
bool DriftsApart(CaptureState& state, uint64_t ahead, uint64_t behind) {
    if (ahead <= behind + kMaxStreamLead)
        return false;
    state.streamsApart = true;
    return true;
}

// The end of what a stream at `arrived` samples (written and held) may write: the block both
// streams fill, or further when holding more would take more than a ring.
uint64_t WriteLimit(const CaptureState& state, uint64_t arrived) {
    const uint64_t shared = (state.positions.blocksProcessed + 1) * kBlockSamples;
    const uint32_t ringLength = state.buffer.bufferLength;
    return std::max(shared, arrived > ringLength ? arrived - ringLength : 0);
}

// Writes what each stream may write now; true when anything was written.
bool WriteHeld(CaptureState& state) {
    StreamPositions& positions = state.positions;
    const uint64_t mainPairs =
        std::min<uint64_t>(positions.heldMain.Size() / 2,
                           WriteLimit(state, MainArrived(positions)) - positions.mainSamples);
    WriteMain(state, positions.heldMain.Data(), mainPairs);
    positions.heldMain.Consume(2 * mainPairs);

    const uint64_t auxBytes =
        std::min<uint64_t>(positions.heldAux.Size(),
                           (WriteLimit(state, AuxArrived(positions)) - positions.auxSamples) / 2);
    WriteAux(state, positions.heldAux.Data(), auxBytes);
    positions.heldAux.Consume(auxBytes);
    return mainPairs + auxBytes != 0;
}

// Processes, in ring order, every block that both streams have filled since the last call.
uint32_t ProcessCompletedBlocks(CaptureState& state) {
    StreamPositions& positions = state.positions;
    const uint64_t filled = std::min(positions.mainSamples, positions.auxSamples) / kBlockSamples;
    const uint32_t blocksInRing = state.buffer.bufferLength / kBlockSamples;
    uint32_t processed = 0;
    while (positions.blocksProcessed < filled && state.Running != 0) {
        const auto block = static_cast<uint32_t>(positions.blocksProcessed % blocksInRing);
        ProcessBlock(state, block * kBlockSamples);
        SummariseRingBlock(state, block * kBlockSamples);
        ++positions.blocksProcessed;
        ++processed;
    }
    if (processed != 0)
        NoteBlockCompleted(state, WatchClock::now());
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

void ReserveHeldBytes(StreamPositions& positions) {
    constexpr uint64_t heldSamples = kMaxStreamLead + 2 * uint64_t{kBlockSamples};
    positions.heldMain.Reserve(2 * heldSamples + kMainStreamTransferBytes);
    positions.heldAux.Reserve(heldSamples / 2 + kAuxStreamTransferBytes);
}

// Running is tested under the lock: a store that waited for the lock while the other stream's
// block ended the capture must not write past that end into the oldest samples. Streams that
// drifted apart store nothing more: the capture is broken and the stream ahead is not held.
void StoreMainBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    StreamPositions& positions = state.positions;
    if (state.Running == 0 || length == 0 || state.streamsApart ||
        DriftsApart(state, MainArrived(positions, length), AuxArrived(positions)))
        return;
    positions.heldMain.Append(data, length);
    Flush(state);
}

uint32_t StoreAuxBlock(CaptureState& state, const uint8_t* data, uint32_t length) {
    std::lock_guard lock(state.storeLock);
    StreamPositions& positions = state.positions;
    if (state.Running == 0 || length == 0 || state.streamsApart ||
        DriftsApart(state, AuxArrived(positions, length), MainArrived(positions)))
        return 0;
    HoldAux(positions.heldAux, data, length);
    return Flush(state);
}

} // namespace podcore::capture
