#include "usb/sim/endpoint1_buffers.h"

#include "usb/firmware/controller_map.h"

#include <algorithm>

namespace podcore::usb::sim {

// Both start as valid bulk endpoints, as the controller comes out of its power-on reset.
Endpoint1Buffers::Endpoint1Buffers()
    : outConfig(EPCFG_VALID | EPCFG_TYPE_BULK), inConfig(EPCFG_VALID | EPCFG_TYPE_BULK) {}

void Endpoint1Buffers::ArmIn(uint8_t count) {
    in_.count = std::min<uint8_t>(count, kBytes);
    inBusy_ = true;
}

std::optional<size_t> Endpoint1Buffers::HostOut(std::span<const uint8_t> packet) {
    if (!(outConfig & EPCFG_VALID) || !outBusy_)
        return std::nullopt;
    const size_t taken = std::min(packet.size(), kBytes);
    std::copy_n(packet.begin(), taken, out_.bytes.begin());
    out_.count = static_cast<uint8_t>(taken);
    outBusy_ = false;
    return taken;
}

std::optional<Endpoint1Buffers::Packet> Endpoint1Buffers::HostIn() {
    if (!(inConfig & EPCFG_VALID) || !inBusy_)
        return std::nullopt;
    inBusy_ = false;
    return in_;
}

} // namespace podcore::usb::sim
