// The capture state: armed by StartCapture, advanced by the two streaming threads through the
// store operations, read by CaptureStatus on the application thread and closed by StopCapture.
#pragma once

#include "analysis/buffer_summary.h"
#include "buffer/sample_buffer.h"
#include "capture/held_bytes.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace podcore::capture {

constexpr uint32_t kBlockSamples = buffer::kBlockSamples;
constexpr int32_t kMaxTriggerSteps = 512;
// A step count of -1 turns trigger search and ring bookkeeping off (the throughput test).
constexpr int32_t kTriggerOff = -1;

// Where the two streams stand. Both counters run on from the start of the capture (they never
// wrap, so no block is processed twice); a position in the ring is the count modulo its length.
// Kept only by the store operations, under the store lock.
struct StreamPositions {
    // Samples whose bytes 0 and 1 the main stream has filled.
    uint64_t mainSamples = 0;
    // Samples whose byte 2 the auxiliary stream has filled.
    uint64_t auxSamples = 0;
    // Blocks that both streams have filled and the block processing has seen.
    uint64_t blocksProcessed = 0;
    // Bytes that arrived but are not in the ring yet: a stream writes only into the block that
    // both streams are filling, so that the one ahead never overwrites the oldest samples with
    // data of a block the capture may end before. Main bytes include the first byte of a pair
    // whose second byte has not arrived (an odd-length transfer); aux bytes are fixed up.
    HeldBytes heldMain;
    HeldBytes heldAux;
};

// The summary of the ring, built as its blocks are processed; see capture_summary.h.
struct RingSummary {
    analysis::BufferSummary summary;
    // The buffer it is sized for; null when the capture builds none (no memory for it).
    const uint32_t* samples = nullptr;
    uint32_t length = 0;
};

struct CaptureState {
    explicit CaptureState(buffer::State& samples) : buffer(samples) {}

    // The sample memory, with BufferLength and ActualCaptureLength.
    buffer::State& buffer;

    // The application thread reads these while the streaming threads write them: each is atomic,
    // so a poll may mix two consecutive blocks but never sees a torn value.
    std::atomic<uint8_t> Running{0};
    std::atomic<uint8_t> ThreadsDone{0};
    std::atomic<uint8_t> Triggered{0};
    std::array<std::atomic<uint32_t>, kMaxTriggerSteps> TriggerMasks{};
    std::array<std::atomic<uint32_t>, kMaxTriggerSteps> TriggerValues{};
    std::atomic<int32_t> StepCount{0};
    std::atomic<int32_t> StepIndex{0};
    std::atomic<uint32_t> TriggerIndex{0};
    std::atomic<uint32_t> PostTriggerTotal{0};
    std::atomic<uint32_t> PostTriggerRemaining{0};
    std::atomic<uint32_t> StartIndex{0};
    std::atomic<uint32_t> EndIndex{0};

    // When the streams last completed a block (steady-clock ticks, set at arming too), and
    // whether one stream ran further ahead of the other than the store holds for.
    std::atomic<int64_t> lastBlockTicks{0};
    std::atomic<bool> streamsApart{false};

    // Set when a capture is armed, cleared once StopCapture has put its ring in time order; a
    // second capture is refused while it is set.
    std::atomic<bool> stopPending{false};

    // Makes the two store operations, and the block processing inside them, mutually exclusive.
    std::mutex storeLock;
    StreamPositions positions;
    // Written under the store lock while the threads run, by the application thread otherwise.
    RingSummary ringSummary;
};

// The library-wide capture state, bound to the library's sample buffer.
CaptureState& Capture();

} // namespace podcore::capture
