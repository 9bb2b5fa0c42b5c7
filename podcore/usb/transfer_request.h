// The 38-byte little-endian header that precedes every transfer exchanged with the driver.
#pragma once

#include <cstdint>

namespace podcore::usb {

struct TransferRequest {
    static constexpr uint32_t kSize = 38;

    uint8_t requestType = 0; // bit 7 direction (1 = IN), bits 5-6 type, bits 0-4 recipient
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
    uint32_t timeout = 0; // seconds
    uint8_t reserved = 0;
    uint8_t endpointAddress = 0;
    uint32_t systemStatus = 0;
    uint32_t usbdStatus = 0;
    uint32_t packetInfoOffset = 0;
    uint32_t packetInfoLength = 0;
    uint32_t dataOffset = 0;
    uint32_t dataLength = 0;

    void EncodeTo(uint8_t* header) const;
    static TransferRequest DecodeFrom(const uint8_t* header);
    // Writes only the two fields the driver fills in, leaving the caller's fields untouched.
    static void WriteStatus(uint8_t* header, uint32_t systemStatus, uint32_t usbdStatus);
};

} // namespace podcore::usb
