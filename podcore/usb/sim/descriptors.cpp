#include "usb/sim/descriptors.h"

#include <algorithm>
#include <iterator>

namespace podcore::usb::sim {

namespace {
void Append16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}
} // namespace

Bytes DeviceDescriptor(uint16_t vendorId, uint16_t productId, uint16_t release,
                       uint8_t configurations) {
    const auto lo = [](uint16_t v) { return static_cast<uint8_t>(v); };
    const auto hi = [](uint16_t v) { return static_cast<uint8_t>(v >> 8); };
    // USB 2.0, vendor-specific class, 64-byte endpoint 0, strings 1 to 3.
    const uint8_t d[18] = {18,
                           1,
                           0x00,
                           0x02,
                           0xFF,
                           0xFF,
                           0xFF,
                           64,
                           lo(vendorId),
                           hi(vendorId),
                           lo(productId),
                           hi(productId),
                           lo(release),
                           hi(release),
                           1,
                           2,
                           3,
                           configurations};
    return Bytes(std::begin(d), std::end(d));
}

Bytes ConfigurationDescriptor(const std::vector<InterfaceLayout>& interfaces) {
    Bytes d = {9, 2, 0, 0, 0, 1, 0, 0x80, 50};
    uint8_t numbers = 0;
    for (const InterfaceLayout& layout : interfaces) {
        numbers = std::max<uint8_t>(numbers, layout.number + 1);
        d.insert(d.end(), {9, 4, layout.number, layout.alternateSetting,
                           static_cast<uint8_t>(layout.endpoints.size()), 0xFF, 0xFF, 0xFF, 0});
        for (const EndpointLayout& endpoint : layout.endpoints) {
            d.insert(d.end(), {7, 5, endpoint.address, endpoint.attributes});
            Append16(d, endpoint.maxPacketSize);
            d.push_back(0);
        }
    }
    d[2] = static_cast<uint8_t>(d.size());
    d[3] = static_cast<uint8_t>(d.size() >> 8);
    d[4] = numbers;
    return d;
}

Bytes StringDescriptor(const std::u16string& text) {
    Bytes d = {static_cast<uint8_t>(2 + 2 * text.size()), 3};
    for (char16_t c : text)
        Append16(d, static_cast<uint16_t>(c));
    return d;
}

Bytes LanguageDescriptor(const std::vector<uint16_t>& languages) {
    Bytes d = {static_cast<uint8_t>(2 + 2 * languages.size()), 3};
    for (uint16_t language : languages)
        Append16(d, language);
    return d;
}

} // namespace podcore::usb::sim
