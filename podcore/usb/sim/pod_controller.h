// The pod's USB controller as its firmware, the host and the sampling front end see it: the
// 8 KB program RAM that the host loads through endpoint 0, the CPU's reset bit, the endpoint 1
// buffers, the two slave FIFOs, the ports to the front end and the registers that set them up
// (podcore/usb/firmware/pod_hardware.md). It is the 8051's bus; registers it does not model read
// 0 and ignore writes.
//
// Every change counts in Generation(): a program that loops without a change to its own state
// or to the controller's can only wait for the world outside. Changes from outside the CPU (the
// host, the front end) also go to the change listener, so that a sleeping runner wakes.
#pragma once

#include "usb/sim/cpu8051_bus.h"
#include "usb/sim/endpoint1_buffers.h"
#include "usb/sim/port_pins.h"
#include "usb/sim/slave_fifo.h"

#include <array>
#include <functional>
#include <optional>

namespace podcore::usb::sim {

class PodController : public Cpu8051Bus {
public:
    static constexpr size_t kProgramBytes = 8192;

    PodController();

    std::span<const uint8_t> ProgramMemory() const override { return program_; }
    uint8_t ReadXdata(uint16_t address) override;
    void WriteXdata(uint16_t address, uint8_t value) override;
    uint8_t ReadSfr(uint8_t address) override;
    void WriteSfr(uint8_t address, uint8_t value) override;

    // Endpoint 0, request 0xA0: program memory, which the host may reach whether the CPU runs
    // or not; false for a range beyond it.
    bool HostWrite(uint16_t address, std::span<const uint8_t> bytes);
    bool HostRead(uint16_t address, std::span<uint8_t> bytes);
    // ... and the reset register: bit 0 holds the CPU in reset. The controller starts held.
    void HostWriteReset(uint8_t value);
    bool Held() const { return held_; }
    // Counts the holds, so that whoever runs the CPU resets it at the release that follows.
    uint32_t Holds() const { return holds_; }

    // Endpoint 1 (Endpoint1Buffers::HostOut and HostIn).
    std::optional<size_t> HostCommand(std::span<const uint8_t> packet);
    std::optional<Endpoint1Buffers::Packet> HostStatus();
    // Endpoints 6 and 8: the oldest committed packet; none while the FIFOs NAK the host.
    bool HostTakePacket(uint8_t endpoint, std::vector<uint8_t>& packet);

    // The front end's side of the board.
    bool RunPin() const;
    uint8_t DivisorPins() const;
    void SetOverflowPin(bool high);
    // The interface clock on the IFCLK pin, which the front end runs from; 0 when not driven.
    uint32_t InterfaceClockHz() const;
    // Writes into the FIFO of endpoint 6 or 8 through the slave-FIFO interface; returns the
    // bytes it took.
    size_t FrontEndWrite(uint8_t endpoint, const uint8_t* bytes, size_t count, bool wordWide);

    // The FIFO of endpoint 6 or 8; none for another endpoint.
    const SlaveFifo* Fifo(uint8_t endpoint) const;
    uint64_t Generation() const { return generation_; }
    void SetChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    SlaveFifo* FifoOf(uint8_t endpoint);
    uint8_t ReadRegister(uint16_t address) const;
    void WriteRegister(uint16_t address, uint8_t value);
    void WriteFifoReset(uint8_t value);
    uint8_t FifoStatus(const SlaveFifo& fifo) const;
    // A CPU write: counts only when it changes the byte.
    void Store(uint8_t& target, uint8_t value);
    // A change from outside the CPU.
    void ChangedFromOutside();

    std::array<uint8_t, kProgramBytes> program_{};
    std::array<uint8_t, 512> scratch_{};
    bool held_ = true;
    uint32_t holds_ = 0;
    uint8_t cpuControl_;
    uint8_t interfaceConfig_;
    uint8_t flagsAB_ = 0;
    bool nakAll_ = false;
    Endpoint1Buffers endpoint1_;
    SlaveFifo fifo6_{true};
    SlaveFifo fifo8_{false};
    PortPins ports_;
    uint64_t generation_ = 0;
    std::function<void()> listener_;
};

} // namespace podcore::usb::sim
