// The arithmetic of the acquisition cycle, apart from the window that runs it: the post-trigger
// count, the clocking mode, the status a demo capture reports and what the pod watch saw.
#pragma once

#include "app_state.h"

#include <cstdint>

namespace norrik {

// Samples to store after the trigger for a trigger position of 10 to 90 (the percentage of the
// buffer before the trigger); a multiple of 65536, one block more than the share after it
// because the library stores its final block without counting it.
int32_t PostTriggerSamples(int32_t bufferSamples, int triggerPosition);

// Clocking mode of a capture: 2 for the internal clock, 4 to 9 for an external one.
uint32_t ClockingMode(bool externalClock, uint8_t clockEdge, uint8_t trigQualifier);

// Fills the capture-status fields as a finished demo capture reports them: everything stored,
// the trigger at the trigger position's share of the buffer.
void FillDemoCaptureStatus(AppState& state, int triggerPosition);

enum class PodWatchChange { None, Arrival, Removal };

// What one look of the pod watch means, from the attached flag before it and the count of pods
// it found (0 none, -1 a pod on a full-speed port).
PodWatchChange PodWatchChangeOf(bool wasAttached, int32_t podCount);

} // namespace norrik
