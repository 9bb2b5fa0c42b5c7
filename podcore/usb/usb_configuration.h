// Configuration and interface records built from a raw configuration descriptor. Parsing stays
// inside the bytes the device returned and inside the tables, whatever the descriptors claim.
#pragma once

#include "usb/usb_endpoint.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace podcore::usb {

class UsbInterface {
public:
    static constexpr int kEndpointSlots = 16;
    static constexpr int kMaxSkippedDescriptors = 11;

    // Builds the record for the interface descriptor at `at`; `available` bytes of the
    // configuration are readable from there (at least the 9 of the interface descriptor).
    UsbInterface(DeviceHandle* handle, const uint8_t* at, uint32_t available);

    // Endpoint of slot 1 to 15; slot 0 is the device's control endpoint once selected.
    UsbEndpoint* Slot(int slot) const { return slots_[slot].get(); }

    uint8_t bLength;
    uint8_t bDescriptorType;
    uint8_t bInterfaceNumber;
    uint8_t bAlternateSetting;
    uint8_t bNumEndpoints;
    uint8_t bInterfaceClass;
    uint8_t bInterfaceSubClass;
    uint8_t bInterfaceProtocol;
    uint8_t iInterface;
    uint8_t RecordsWithSameNumber = 0;
    uint32_t BlockLength;

private:
    std::array<std::unique_ptr<UsbEndpoint>, kEndpointSlots> slots_;
};

class UsbConfiguration {
public:
    static constexpr int kMaxInterfaceRecords = 8;
    static constexpr uint32_t kDescriptorLength = 9;

    // `raw` is the configuration descriptor as read, at least 9 bytes long.
    UsbConfiguration(DeviceHandle* handle, const std::vector<uint8_t>& raw);

    int RecordCount() const { return static_cast<int>(records_.size()); }
    UsbInterface* Record(int n) const { return records_[n].get(); }

    uint8_t bLength;
    uint8_t bDescriptorType;
    uint16_t wTotalLength;
    uint8_t bNumInterfaces;
    uint8_t bConfigurationValue;
    uint8_t iConfiguration;
    uint8_t bmAttributes;
    uint8_t MaxPower;

private:
    std::vector<std::unique_ptr<UsbInterface>> records_;
};

} // namespace podcore::usb
