// Capture exports: starting, watching and stopping a capture on the current pod, and the
// throughput self-test.
#include "capture/capture_session.h"
#include "capture/capture_state.h"
#include "capture/capture_status.h"
#include "capture/speed_test.h"
#include "capture/status_endpoint.h"
#include "capture/stream_watch.h"
#include "exports/capture_guard.h"
#include "exports/guard.h"
#include "exports/podcore.h"
#include "usb/pod_state.h"

using namespace podcore;

namespace {

// The caller's read-out variables; one it did not pass is skipped.
template <typename T> void Put(T* out, T value) {
    if (out != nullptr)
        *out = value;
}

} // namespace

int32_t StartCapture(uint32_t rateCode, uint32_t clockingMode, const uint32_t* triggerSteps,
                     int32_t stepCount, const uint32_t*, uint32_t bufferLength,
                     uint32_t postTriggerSamples) {
    return GuardedUnlessCapturing("StartCapture", 0, [&] {
        const capture::CaptureRequest request{triggerSteps, stepCount, bufferLength,
                                              postTriggerSamples};
        return capture::StartStreaming(capture::Capture(), usb::Pods().currentPod, rateCode,
                                       clockingMode, request);
    });
}

int32_t CaptureStatus(uint8_t* breaks, uint8_t* running, uint8_t* triggered, int32_t* startP,
                      int32_t* endP, int32_t* trigger, uint8_t* full) {
    // The pod's byte is read on its own, so that a pod whose status endpoint cannot be looked
    // up still gets every output written.
    const uint8_t podStatus = Guarded<uint8_t>(capture::kStatusNoAnswer, [] {
        capture::StatusEndpointSource source(usb::Pods().currentPod.get());
        return capture::PollStatusByte(&source, 2);
    });
    const capture::CaptureState& state = capture::Capture();
    const uint8_t status = capture::ReportedStatus(podStatus, state, capture::WatchClock::now());
    const capture::CaptureProgress progress = capture::ReadProgress(state);
    Put(breaks, status);
    Put(running, progress.running);
    Put(triggered, progress.triggered);
    Put(startP, progress.startP);
    Put(endP, progress.endP);
    Put(trigger, progress.trigger);
    Put(full, progress.full);
    return int32_t{status};
}

int32_t SingleCaptureStatus() {
    return Guarded<int32_t>(capture::kStatusNoAnswer, [] {
        return int32_t{capture::SingleStatusRead(usb::Pods().currentPod.get())};
    });
}

int32_t StopCapture() {
    return Guarded<int32_t>(1, [] {
        capture::StopStreaming(capture::Capture());
        return 1;
    });
}

int32_t SpeedTest() {
    return GuardedUnlessCapturing("SpeedTest", 0,
                                  [] { return capture::FastestRate(capture::kTrialLength); });
}

int32_t TestIt(uint8_t rateCode) {
    return GuardedUnlessCapturing(
        "TestIt", 0, [&] { return capture::TestRate(rateCode, capture::kTrialLength); });
}
