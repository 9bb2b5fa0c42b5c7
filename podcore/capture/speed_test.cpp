#include "capture/speed_test.h"

#include "capture/capture_session.h"
#include "capture/status_endpoint.h"
#include "usb/pod_state.h"

#include <thread>

namespace podcore::capture {

namespace {
// One block of ring with the trigger and the ring bookkeeping off.
constexpr uint32_t kTrialRing = kBlockSamples;
constexpr uint32_t kTrialPostTrigger = 32768;
constexpr uint8_t kRatesFastestFirst[] = {247, 167, 127, 87, 67, 47, 37, 27, 17};
} // namespace

int32_t TestRate(uint8_t rateCode, std::chrono::milliseconds trial) {
    CaptureState& state = Capture();
    const std::shared_ptr<usb::UsbDevice> pod = usb::Pods().currentPod;
    const CaptureRequest request{nullptr, kTriggerOff, kTrialRing, kTrialPostTrigger};
    if (StartStreaming(state, pod, rateCode, kInternalClock, request) != 1)
        return 0;
    std::this_thread::sleep_for(trial);
    StatusEndpointSource source(pod.get());
    const uint8_t status = PollStatusByte(&source, 2);
    StopStreaming(state);
    return status == 0 ? rateCode : 0;
}

int32_t FastestRate(std::chrono::milliseconds trial) {
    for (const uint8_t rate : kRatesFastestFirst) {
        if (TestRate(rate, trial) == rate)
            return rate;
    }
    return 0;
}

} // namespace podcore::capture
