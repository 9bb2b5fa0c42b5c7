// Putting the capture ring in time order once the streaming threads have ended.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

// Rotates the first `blocks` blocks of 65536 samples left by `oldest` blocks in place: the block
// at position p moves to (p - oldest) mod blocks. Follows the cycles of that permutation with one
// temporary block, so every block is copied once plus one copy per cycle.
void RotateBlocksLeft(uint32_t* samples, uint32_t blocks, uint32_t oldest);

// UnrollRing: makes the oldest sample (StartIndex) sample 0 and moves TriggerIndex with the data;
// afterwards StartIndex is 0 and EndIndex the whole ring. A ring already in order is left alone.
// Returns the samples the ring was rotated left by (0 when it was left alone).
uint32_t UnrollRing(CaptureState& state);

} // namespace podcore::capture
