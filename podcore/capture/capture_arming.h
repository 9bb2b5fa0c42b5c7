// Arming a capture: what StartCapture checks and sets before the streaming threads start. None of
// it needs the pod, so the firmware load and the ready wait fit in between.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

struct CaptureRequest {
    const uint32_t* triggerSteps; // stepCount pairs {mask, value}, in step order
    int32_t stepCount;            // at most 512; 0 triggers on the first block; -1 turns it off
    uint32_t bufferLength;        // samples of the ring
    uint32_t postTriggerSamples;  // used with the low 16 bits cleared
};

// False for a request that StartCapture must refuse before it touches the pod: a capture that has
// not been stopped yet, a step count outside -1..512 or steps missing, a ring length that is 0,
// not a multiple of 65536 or larger than the allocated buffer.
bool IsAcceptable(const CaptureState& state, const CaptureRequest& request);

// Resets ActualCaptureLength and StepIndex and loads StepCount and the step table. StartCapture
// does this before it knows whether the firmware loaded.
void LoadTriggerSteps(CaptureState& state, const CaptureRequest& request);

// Clears the trigger and ring bookkeeping, sets the post-trigger count, the stream positions and
// BufferLength, and sets Running: from here on the store operations accept data. Running is set
// once, here, before any streaming thread starts, so that a StopCapture that comes early is never
// undone by a thread that starts late.
void ArmStreaming(CaptureState& state, const CaptureRequest& request);

} // namespace podcore::capture
