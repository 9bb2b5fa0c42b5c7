// Starting a capture on the current pod and stopping it: the firmware load, the wait for the
// ready byte, the two streaming threads and the start command; then the join and the unroll.
#pragma once

#include "capture/capture_arming.h"
#include "capture/capture_state.h"
#include "usb/usb_device.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace podcore::capture {

constexpr uint32_t kInternalClock = 2;
// A pod whose firmware has not said it is ready by then is not going to.
constexpr auto kReadyWait = std::chrono::milliseconds(2000);

// The divisor the pod divides its 48 MHz clock by, less one, for a rate code.
uint8_t DivisorOf(uint32_t rateCode);

// 1 when the capture streams, 0 when it was refused or the pod failed to start. `pod` may be
// null (no current pod).
int32_t StartStreaming(CaptureState& state, std::shared_ptr<usb::UsbDevice> pod,
                       uint32_t rateCode, uint32_t clockingMode, const CaptureRequest& request);

// Stops the streaming threads, waits for them and puts the ring in time order. Returns at once
// when nothing runs.
void StopStreaming(CaptureState& state);

} // namespace podcore::capture
