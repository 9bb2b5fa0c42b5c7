#include "capture/status_endpoint.h"

#include "diagnostics.h"

namespace podcore::capture {

namespace {

struct StatusRead {
    bool done = false;
    uint32_t length = 0;
    uint8_t byte = kStatusNoAnswer;
};

StatusRead ReadOnce(usb::UsbEndpoint& endpoint) {
    StatusRead read;
    read.length = 1;
    read.done = endpoint.TransferData(&read.byte, read.length);
    return read;
}

usb::UsbEndpoint* StatusEndpoint(usb::UsbDevice* pod) {
    if (pod == nullptr || !pod->IsOpen())
        return nullptr;
    return pod->EndpointOf(kStatusEndpoint);
}

} // namespace

std::optional<uint8_t> StatusEndpointSource::ReadStatusByte() {
    usb::UsbEndpoint* endpoint = StatusEndpoint(pod_);
    if (endpoint == nullptr)
        return std::nullopt;
    const StatusRead read = ReadOnce(*endpoint);
    if (read.length == 0)
        return std::nullopt;
    return read.byte;
}

uint8_t SingleStatusRead(usb::UsbDevice* pod) {
    Trace("SingleCaptureStatus start");
    usb::UsbEndpoint* endpoint = StatusEndpoint(pod);
    if (endpoint == nullptr)
        return kStatusNoAnswer;
    TraceFormat("BulkIn1 = %ld", static_cast<long>(endpoint->address));
    endpoint->Timeout = kStatusTimeoutMs;
    const StatusRead read = ReadOnce(*endpoint);
    TraceFormat("ReturnValue of TransferData = %d", read.done ? 1 : 0);
    TraceFormat("length = %d", static_cast<int>(read.length));
    TraceFormat("buffer[0] = %d", int{read.byte});
    Trace("SingleCaptureStatus start");
    return read.length == 0 ? kStatusNoAnswer : read.byte;
}

} // namespace podcore::capture
