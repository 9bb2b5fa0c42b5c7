// The pod's status byte (endpoint 0x81): 0x55 when the firmware is up, during a capture 0 for
// no data lost and any other value for lost data; 0xCC when the pod did not answer.
#pragma once

#include <cstdint>
#include <optional>

namespace podcore::capture {

constexpr uint8_t kStatusReady = 0x55;
constexpr uint8_t kStatusNoAnswer = 0xCC;

// One read of the status endpoint, supplied by the USB layer.
class StatusByteSource {
public:
    virtual ~StatusByteSource() = default;
    // The byte received, or nothing when the read delivered nothing (a time-out included).
    virtual std::optional<uint8_t> ReadStatusByte() = 0;
};

// Reads the status byte `reads` times: a read that delivers nothing leaves the byte as it was,
// which starts as 0xCC, so the last byte delivered wins. With no pod (`source` null) it is 0xCC.
uint8_t PollStatusByte(StatusByteSource* source, int reads);

} // namespace podcore::capture
