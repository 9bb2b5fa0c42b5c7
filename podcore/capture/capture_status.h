// What CaptureStatus reports about a capture besides the pod's status byte. Read on the
// application thread without the store lock while the streaming threads run.
#pragma once

#include "capture/capture_state.h"

#include <cstdint>

namespace podcore::capture {

struct CaptureProgress {
    uint8_t running;
    uint8_t triggered;
    int32_t startP;
    int32_t endP;
    int32_t trigger;
    uint8_t full;
};

// Percentage of the post-trigger samples stored, truncated: 0 before the trigger and when no
// post-trigger samples were asked for.
uint8_t FullPercent(uint8_t triggered, uint32_t postTriggerTotal, uint32_t postTriggerRemaining);

CaptureProgress ReadProgress(const CaptureState& state);

} // namespace podcore::capture
