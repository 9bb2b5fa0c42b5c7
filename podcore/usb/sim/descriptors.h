// Builders for the standard descriptors a virtual device reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace podcore::usb::sim {

using Bytes = std::vector<uint8_t>;

struct EndpointLayout {
    uint8_t address;
    uint8_t attributes; // 2 bulk
    uint16_t maxPacketSize;
};

struct InterfaceLayout {
    uint8_t number;
    uint8_t alternateSetting;
    std::vector<EndpointLayout> endpoints;
};

Bytes DeviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t release,
                       uint8_t configurations);
Bytes ConfigurationDescriptor(const std::vector<InterfaceLayout>& interfaces);
Bytes StringDescriptor(const std::u16string& text);
Bytes LanguageDescriptor(const std::vector<uint16_t>& languages);

} // namespace podcore::usb::sim
