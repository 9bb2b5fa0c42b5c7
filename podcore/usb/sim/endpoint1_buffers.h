// The controller's endpoint 1: a 64-byte OUT buffer for the host's commands and a 64-byte IN
// buffer for the pod's status. While a buffer's busy bit is set it belongs to the USB side:
// the OUT buffer waits for the host's next packet, the IN buffer holds a packet for the host.
// The firmware arms them by writing their byte counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace podcore::usb::sim {

class Endpoint1Buffers {
public:
    static constexpr size_t kBytes = 64;

    Endpoint1Buffers();

    struct Packet {
        std::array<uint8_t, kBytes> bytes{};
        uint8_t count = 0;
    };

    // The firmware's side.
    std::array<uint8_t, kBytes>& OutBuffer() { return out_.bytes; }
    std::array<uint8_t, kBytes>& InBuffer() { return in_.bytes; }
    // Writing EP1OUTBC hands the OUT buffer to the USB side for the next packet.
    void ArmOut() { outBusy_ = true; }
    // Writing EP1INBC sends that many bytes of the IN buffer.
    void ArmIn(uint8_t count);
    bool OutBusy() const { return outBusy_; }
    bool InBusy() const { return inBusy_; }
    uint8_t OutCount() const { return out_.count; }
    uint8_t InCount() const { return in_.count; }
    // EP1OUTCFG and EP1INCFG: an endpoint without its valid bit answers nothing.
    uint8_t outConfig;
    uint8_t inConfig;

    // The host's side. One OUT packet of at most 64 bytes, taken only while the buffer is
    // armed; returns the bytes taken (the rest belongs in the next packet), or nothing when the
    // packet must wait.
    std::optional<size_t> HostOut(std::span<const uint8_t> packet);
    // The armed IN packet, which the USB side then gives back to the firmware; nothing while the
    // firmware has not armed one.
    std::optional<Packet> HostIn();

private:
    Packet out_;
    Packet in_;
    bool outBusy_ = false;
    bool inBusy_ = false;
};

} // namespace podcore::usb::sim
