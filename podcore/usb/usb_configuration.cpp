#include "usb/usb_configuration.h"

#include <algorithm>

namespace podcore::usb {

namespace {
constexpr uint8_t kInterfaceType = 4;
constexpr uint8_t kEndpointType = 5;
constexpr uint32_t kInterfaceDescriptorLength = 9;
constexpr uint32_t kEndpointDescriptorLength = 7;

// The length of the descriptor at `at`, or 0 when it is malformed or runs past the end: a
// descriptor shorter than its own two header bytes would stall any walk.
uint32_t DescriptorLength(const uint8_t* at, uint32_t available) {
    if (available < 2 || at[0] < 2 || at[0] > available)
        return 0;
    return at[0];
}
} // namespace

UsbInterface::UsbInterface(DeviceHandle* handle, const uint8_t* at, uint32_t available)
    : bLength(at[0]), bDescriptorType(at[1]), bInterfaceNumber(at[2]), bAlternateSetting(at[3]),
      bNumEndpoints(at[4]), bInterfaceClass(at[5]), bInterfaceSubClass(at[6]),
      bInterfaceProtocol(at[7]), iInterface(at[8]), BlockLength(at[0]) {
    int slot = 1;
    int skipped = 0;
    const int wanted = std::min<int>(bNumEndpoints, kEndpointSlots - 1);
    while (slot <= wanted) {
        const uint32_t length = DescriptorLength(at + BlockLength, available - BlockLength);
        if (length == 0)
            break;
        const uint8_t* descriptor = at + BlockLength;
        BlockLength += length;
        if (descriptor[1] == kEndpointType) {
            if (length >= kEndpointDescriptorLength)
                slots_[slot] = MakeEndpoint(handle, EndpointDescriptor::Parse(descriptor));
            ++slot;
        } else if (++skipped > kMaxSkippedDescriptors) {
            ++slot;
        }
    }
}

UsbConfiguration::UsbConfiguration(DeviceHandle* handle, const std::vector<uint8_t>& raw)
    : bLength(raw[0]), bDescriptorType(raw[1]),
      wTotalLength(static_cast<uint16_t>(raw[2] | raw[3] << 8)), bNumInterfaces(raw[4]),
      bConfigurationValue(raw[5]), iConfiguration(raw[6]), bmAttributes(raw[7]), MaxPower(raw[8]) {
    const auto total = std::min<uint32_t>(wTotalLength, static_cast<uint32_t>(raw.size()));
    uint32_t offset = std::max<uint32_t>(bLength, kDescriptorLength);
    while (offset < total && RecordCount() < kMaxInterfaceRecords) {
        const uint32_t length = DescriptorLength(raw.data() + offset, total - offset);
        if (length == 0)
            break;
        if (raw[offset + 1] == kInterfaceType && length >= kInterfaceDescriptorLength) {
            records_.push_back(
                std::make_unique<UsbInterface>(handle, raw.data() + offset, total - offset));
            offset += records_.back()->BlockLength;
        } else {
            offset += length;
        }
    }
    for (auto& record : records_)
        record->RecordsWithSameNumber = static_cast<uint8_t>(
            std::count_if(records_.begin(), records_.end(), [&](const auto& other) {
                return other->bInterfaceNumber == record->bInterfaceNumber;
            }));
}

} // namespace podcore::usb
