// The two streaming threads. Each keeps 16 overlapped bulk transfers in flight on its endpoint
// and hands every completed transfer to its store operation until Running drops.
#pragma once

#include "capture/capture_state.h"
#include "usb/usb_device.h"

#include <functional>

namespace podcore::capture {

constexpr int kTransfersInFlight = 16;
constexpr uint32_t kStreamBufferBytes = 65536;

// Called once the thread's transfers are all queued, so that the pod may start sampling.
using QueuedSignal = std::function<void()>;

// Endpoint 0x86: byte 2 of every second sample, 32768-byte transfers, 800 ms time-out.
void AuxStreamThread(CaptureState& state, usb::UsbDevice& pod, const QueuedSignal& queued);
// Endpoint 0x88: bytes 0 and 1 of every sample, 65536-byte transfers, 500 ms time-out.
void MainStreamThread(CaptureState& state, usb::UsbDevice& pod, const QueuedSignal& queued);

} // namespace podcore::capture
