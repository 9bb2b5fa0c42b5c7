// USBD status codes of the host controller stack, as the driver writes them into a request, and
// their text for people.
#pragma once

#include <cstdint>
#include <string>

namespace podcore::usb {

namespace usbd {
constexpr uint32_t Success = 0x00000000;
constexpr uint32_t Crc = 0xC0000001;
constexpr uint32_t StallPid = 0xC0000004;
constexpr uint32_t DevNotResponding = 0xC0000005;
constexpr uint32_t DataOverrun = 0xC0000008;
constexpr uint32_t BufferOverrun = 0xC000000C;
constexpr uint32_t EndpointHalted = 0xC0000030;
constexpr uint32_t InvalidParameter = 0x80000300;
constexpr uint32_t Canceled = 0xC0010000;
} // namespace usbd

// "[state=... status=USBD_STATUS_...]" for a USBD status.
std::string UsbdStatusText(uint32_t status);

} // namespace podcore::usb
