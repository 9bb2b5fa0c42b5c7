#include "usb/sim/port_pins.h"

namespace podcore::usb::sim {

uint8_t PortPins::Read(Port port) const {
    return (latch_[port] & enable_[port]) | (external_[port] & ~enable_[port]);
}

void PortPins::Drive(Port port, uint8_t mask, bool high) {
    external_[port] = high ? external_[port] | mask : external_[port] & ~mask;
}

void PortPins::Reset() {
    latch_ = {};
    enable_ = {};
}

} // namespace podcore::usb::sim
