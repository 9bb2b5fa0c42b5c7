// Capture exports. The capture engine's state, status and stop are real; starting a capture
// needs the pod layer and is refused until the streaming threads run on it.
#include "capture/capture_state.h"
#include "capture/capture_status.h"
#include "capture/capture_stop.h"
#include "capture/pod_status.h"
#include "exports/guard.h"
#include "exports/podcore.h"

using namespace podcore;

namespace {

// The caller's read-out variables; one it did not pass is skipped.
template <typename T>
void Put(T* out, T value) {
    if (out != nullptr)
        *out = value;
}

} // namespace

int32_t StartCapture(uint32_t, uint32_t, const uint32_t*, int32_t, const uint32_t*, uint32_t,
                     uint32_t) {
    return 0;
}

int32_t CaptureStatus(uint8_t* breaks, uint8_t* running, uint8_t* triggered, int32_t* startP,
                      int32_t* endP, int32_t* trigger, uint8_t* full) {
    return Guarded<int32_t>(capture::kStatusNoAnswer, [&] {
        // No pod layer yet: the status byte is that of a pod that does not answer.
        const uint8_t status = capture::PollStatusByte(nullptr, 2);
        const capture::CaptureProgress progress = capture::ReadProgress(capture::Capture());
        Put(breaks, status);
        Put(running, progress.running);
        Put(triggered, progress.triggered);
        Put(startP, progress.startP);
        Put(endP, progress.endP);
        Put(trigger, progress.trigger);
        Put(full, progress.full);
        return int32_t{status};
    });
}

int32_t SingleCaptureStatus() {
    return capture::PollStatusByte(nullptr, 1);
}

int32_t StopCapture() {
    return Guarded<int32_t>(1, [] {
        capture::CaptureState& state = capture::Capture();
        state.Running = 0;
        capture::EndStoppedCapture(state);
        return 1;
    });
}

int32_t SpeedTest() { return 0; }
int32_t TestIt(uint8_t) { return 0; }
