// The controller's I/O ports A to E: the firmware's output latches and output enables (IOx,
// OEx), and the levels the board puts on the pins that are not driven by the controller. The
// board pulls every pin low that nothing drives.
#pragma once

#include <array>
#include <cstdint>

namespace podcore::usb::sim {

class PortPins {
public:
    static constexpr int kPorts = 5;
    enum Port { A, B, C, D, E };

    // The levels on a port's pins, which is also what the firmware reads from IOx: its own latch
    // on outputs, the board's level on inputs.
    uint8_t Read(Port port) const;
    uint8_t Latch(Port port) const { return latch_[port]; }
    void WriteLatch(Port port, uint8_t value) { latch_[port] = value; }
    uint8_t Enable(Port port) const { return enable_[port]; }
    void WriteEnable(Port port, uint8_t value) { enable_[port] = value; }
    // The board drives `mask` of a port high or low; it only shows on pins that are inputs.
    void Drive(Port port, uint8_t mask, bool high);
    // The controller's reset clears the latches and makes every pin an input.
    void Reset();

private:
    std::array<uint8_t, kPorts> latch_{};
    std::array<uint8_t, kPorts> enable_{};
    std::array<uint8_t, kPorts> external_{};
};

} // namespace podcore::usb::sim
