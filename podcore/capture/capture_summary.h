// The summary of a capture's ring, built block by block by the streaming threads while each
// block's samples are still in the cache from the trigger search, and handed to the sample
// readers when the capture ends: the first view after StopCapture then costs what later ones
// cost instead of summarising the whole buffer on the application thread.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

// Sizes the summary for the ring being armed. Without the memory for it the capture runs
// unsummarised and the readers summarise the buffer themselves, as after any other write.
void PrepareRingSummary(CaptureState& state);

// Summarises the ring block whose first sample is blockFirst. The caller holds the store lock.
void SummariseRingBlock(CaptureState& state, uint32_t blockFirst);

// Once no streaming thread runs and before the ring moves: summarises the blocks written since
// the last processed one (a capture stopped mid-block, a stream a ring ahead of the other).
// Returns the samples from the start of the ring that the summary now covers.
uint32_t SummariseUnprocessedWrites(CaptureState& state);

// Once the ring is in time order (rotated left by rotatedBy samples) and the write announced:
// makes the summary of the first `covered` ring samples, cut to the valid ones, the readers'
// summary of the buffer.
void HandOverRingSummary(CaptureState& state, uint32_t rotatedBy, uint32_t covered);

} // namespace podcore::capture
