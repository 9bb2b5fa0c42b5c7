// Reading the pod's status byte from endpoint 0x81.
#pragma once

#include "capture/pod_status.h"
#include "usb/usb_device.h"

namespace podcore::capture {

constexpr uint8_t kStatusEndpoint = 0x81;
constexpr uint32_t kStatusTimeoutMs = 1000;

// One read per call, with whatever time-out the endpoint has (10 s until the first
// SingleStatusRead shortens it). A pod without the endpoint delivers nothing.
class StatusEndpointSource final : public StatusByteSource {
public:
    explicit StatusEndpointSource(usb::UsbDevice* pod) : pod_(pod) {}
    std::optional<uint8_t> ReadStatusByte() override;

private:
    usb::UsbDevice* pod_;
};

// SingleCaptureStatus: one read with a 1000 ms time-out, traced; 0xCC when nothing came.
uint8_t SingleStatusRead(usb::UsbDevice* pod);

} // namespace podcore::capture
