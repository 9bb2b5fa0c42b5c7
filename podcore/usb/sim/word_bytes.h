// The two bytes of a 16-bit word, as the 8051 and its registers see them one at a time.
#pragma once

#include <cstdint>

namespace podcore::usb::sim {

inline uint8_t LowByte(unsigned word) {
    return static_cast<uint8_t>(word);
}

inline uint8_t HighByte(unsigned word) {
    return static_cast<uint8_t>(word >> 8);
}

inline uint16_t WithLowByte(uint16_t word, uint8_t low) {
    return static_cast<uint16_t>((word & 0xFF00) | low);
}

inline uint16_t WithHighByte(uint16_t word, uint8_t high) {
    return static_cast<uint16_t>((word & 0x00FF) | high << 8);
}

} // namespace podcore::usb::sim
