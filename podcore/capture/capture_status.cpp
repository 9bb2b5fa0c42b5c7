#include "capture/capture_status.h"

namespace podcore::capture {

uint8_t FullPercent(uint8_t triggered, uint32_t postTriggerTotal, uint32_t postTriggerRemaining) {
    // Counts that do not fit together (a remaining count above the total) read as 0 rather
    // than as a wrapped-around figure.
    if (triggered == 0 || postTriggerTotal == 0 || postTriggerRemaining > postTriggerTotal)
        return 0;
    const double stored = postTriggerTotal - postTriggerRemaining;
    return static_cast<uint8_t>(stored / postTriggerTotal * 100.0);
}

CaptureProgress ReadProgress(const CaptureState& state) {
    // Triggered first: the trigger search sets it after the index and the counts.
    const uint8_t triggered = state.Triggered;
    const uint32_t total = state.PostTriggerTotal;
    const uint32_t remaining = state.PostTriggerRemaining;
    return CaptureProgress{
        .running = state.Running,
        .triggered = triggered,
        .startP = static_cast<int32_t>(state.StartIndex.load()),
        .endP = static_cast<int32_t>(state.EndIndex.load()),
        .trigger = static_cast<int32_t>(state.TriggerIndex.load()),
        .full = FullPercent(triggered, total, remaining),
    };
}

} // namespace podcore::capture
