#include "usb/raw_transfers.h"

#include "usb/pod_state.h"

namespace podcore::usb {

namespace {
constexpr uint32_t kBulkTimeout = 1000;

bool IsPipe(uint8_t pipe) {
    return pipe == 1 || pipe == 2 || pipe == 4 || pipe == 6 || pipe == 8;
}
} // namespace

int32_t BulkTransfer(UsbDevice& pod, uint8_t pipe, bool in, uint32_t length, uint8_t* buffer) {
    if (!IsPipe(pipe) || (buffer == nullptr && length != 0))
        return 0;
    UsbEndpoint* endpoint = pod.EndpointOf(static_cast<uint8_t>(in ? 0x80 + pipe : pipe));
    if (endpoint == nullptr)
        return 0;
    endpoint->Timeout = kBulkTimeout;
    return endpoint->TransferData(buffer, length) ? 1 : 0;
}

int32_t VendorTransfer(UsbDevice& pod, uint8_t request, uint32_t index, uint32_t value, bool in,
                       uint32_t length, uint8_t* buffer) {
    ControlEndpoint* control = pod.Control();
    bool ok = false;
    if (control != nullptr && (buffer != nullptr || length == 0)) {
        control->Recipient = 0;
        control->RequestType = 2;
        control->Request = request;
        control->Value = static_cast<uint16_t>(value);
        control->Index = static_cast<uint16_t>(index);
        ok = in ? control->Read(buffer, length) : control->Write(buffer, length);
    }
    Pods().lastControlResult = ok ? 1 : 0;
    return Pods().lastControlResult;
}

} // namespace podcore::usb
