// Capture files store their integers little-endian whatever the host's byte order, so the
// header fields are laid out byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace podcore::files {

inline void PutLittleEndian32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t GetLittleEndian32(const uint8_t* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

} // namespace podcore::files
