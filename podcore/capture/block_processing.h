// The work done on each block of 65536 samples that both streams have filled: the multi-step
// trigger search, the post-trigger count-down and the ring bookkeeping.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

// Samples that can be written before the oldest stored sample is overwritten.
uint32_t RoomBeforeStart(uint32_t startIndex, uint32_t endIndex, uint32_t bufferLength);

// Processes the block whose first sample is `blockFirst`. The caller holds the store lock. Clears
// Running when the block was the last one the capture stores.
void ProcessBlock(CaptureState& state, uint32_t blockFirst);

} // namespace podcore::capture
