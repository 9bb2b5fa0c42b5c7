#include "usb/usbd_status.h"

namespace podcore::usb {
namespace {

struct NamedStatus {
    uint32_t code;
    const char* name;
};

constexpr NamedStatus kNames[] = {
    {0xC0000001, "CRC"},
    {0xC0000002, "BTSTUFF"},
    {0xC0000003, "DATA_TOGGLE_MISMATCH"},
    {0xC0000004, "STALL_PID"},
    {0xC0000005, "DEV_NOT_RESPONDING"},
    {0xC0000006, "PID_CHECK_FAILURE"},
    {0xC0000007, "UNEXPECTED_PID"},
    {0xC0000008, "DATA_OVERRUN"},
    {0xC0000009, "DATA_UNDERRUN"},
    {0xC000000A, "RESERVED1"},
    {0xC000000B, "RESERVED2"},
    {0xC000000C, "BUFFER_OVERRUN"},
    {0xC000000D, "BUFFER_UNDERRUN"},
    {0xC000000F, "NOT_ACCESSED"},
    {0xC0000010, "FIFO"},
    {0xC0000030, "ENDPOINT_HALTED"},
    {0xC0000A00, "BAD_START_FRAME"},
    {0xC0000B00, "ISOCH_REQUEST_FAILED"},
    {0xC0000C00, "FRAME_CONTROL_OWNED"},
    {0xC0000D00, "FRAME_CONTROL_NOT_OWNED"},
};

const char* StateText(uint32_t status) {
    switch (status >> 28) {
    case 0x0:
        return " [state=SUCCESS ";
    case 0x4:
        return " [state=PENDING ";
    case 0x8:
        return " [state=ERROR   ";
    case 0xC:
        return " [state=STALLED ";
    default:
        return "";
    }
}

} // namespace

std::string UsbdStatusText(uint32_t status) {
    if ((status & 0x0FFFFFFF) == 0)
        return "[state=SUCCESS status=USBD_STATUS_SUCCESS]";
    std::string text = StateText(status);
    const uint32_t code = status | 0xC0000000;
    for (const NamedStatus& named : kNames)
        if (named.code == code)
            return text + "status=USBD_STATUS_" + named.name + "]";
    return text + "status=UNKNOWN]";
}

} // namespace podcore::usb
