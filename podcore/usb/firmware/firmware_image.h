// The pod firmware the library carries: 8192 bytes of 8051 program memory, loaded at address 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace podcore::usb::firmware {

constexpr size_t kImageBytes = 8192;

const uint8_t* EmbeddedImage();

} // namespace podcore::usb::firmware
