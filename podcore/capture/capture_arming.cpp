#include "capture/capture_arming.h"

#include "capture/block_store.h"
#include "capture/capture_summary.h"
#include "capture/stream_watch.h"

#include <mutex>

namespace podcore::capture {

bool IsAcceptable(const CaptureState& state, const CaptureRequest& request) {
    if (state.stopPending)
        return false;
    if (request.stepCount < kTriggerOff || request.stepCount > kMaxTriggerSteps)
        return false;
    if (request.stepCount > 0 && request.triggerSteps == nullptr)
        return false;
    const buffer::State& memory = state.buffer;
    return memory.samples != nullptr && request.bufferLength != 0 &&
           request.bufferLength % kBlockSamples == 0 &&
           request.bufferLength <= memory.allocatedLength;
}

void LoadTriggerSteps(CaptureState& state, const CaptureRequest& request) {
    state.buffer.actualCaptureLength = 0;
    state.StepIndex = 0;
    state.StepCount = request.stepCount;
    for (int32_t i = 0; i < request.stepCount; ++i) {
        state.TriggerMasks[i] = request.triggerSteps[2 * i];
        state.TriggerValues[i] = request.triggerSteps[2 * i + 1];
    }
}

void ArmStreaming(CaptureState& state, const CaptureRequest& request) {
    const uint32_t postTrigger = request.postTriggerSamples & ~(kBlockSamples - 1);
    {
        std::lock_guard lock(state.storeLock);
        state.Triggered = 0;
        state.TriggerIndex = 0;
        state.StartIndex = 0;
        state.EndIndex = 0;
        state.PostTriggerRemaining = postTrigger;
        state.PostTriggerTotal = postTrigger;
        state.positions = StreamPositions{};
        ReserveHeldBytes(state.positions);
        state.buffer.bufferLength = request.bufferLength;
        state.streamsApart = false;
        NoteBlockCompleted(state, WatchClock::now());
    }
    PrepareRingSummary(state);
    state.stopPending = true;
    state.Running = 1;
}

} // namespace podcore::capture
