// The two store operations of the streaming threads: each merges one completed transfer of its
// stream into the sample ring and processes every block that both streams have now filled.
//
// Transfers of any length keep the two streams in step: a position is a count of samples from
// the start of the capture, not a pointer that must meet the other stream's exactly, so a short
// transfer only delays the blocks it leaves unfinished. A main-stream transfer of odd length
// leaves its last byte pending; the next transfer's first byte completes that sample, so the
// byte pairs never shift. A stream that runs ahead of the other is held back at the end of the
// block both are filling (at most a ring's worth), so the block that ends the capture is never
// followed by half-written samples over the oldest ones. Writes wrap at the end of the ring.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

// The largest transfer of each stream.
constexpr uint32_t kMainStreamTransferBytes = 65536;
constexpr uint32_t kAuxStreamTransferBytes = 32768;

// Reserves what a capture holds at most for the stream that runs ahead (kMaxStreamLead), so that
// holding allocates nothing while the capture streams.
void ReserveHeldBytes(StreamPositions& positions);

// Main stream (endpoint 0x88): byte pairs into bytes 0 and 1 of consecutive samples. Stores
// nothing once Running is 0. Call only on an armed capture.
void StoreMainBlock(CaptureState& state, const uint8_t* data, uint32_t length);

// Auxiliary stream (endpoint 0x86): each byte into byte 2 of two consecutive samples; the first
// two bytes of every 512-byte packet are replaced by the packet's third byte. Stores nothing once
// Running is 0. Returns the number of blocks this transfer completed and processed.
uint32_t StoreAuxBlock(CaptureState& state, const uint8_t* data, uint32_t length);

} // namespace podcore::capture
