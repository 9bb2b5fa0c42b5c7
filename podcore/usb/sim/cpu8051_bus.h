// What an 8051 core reaches outside itself: its program memory, the external data memory and
// the special function registers that are not the core's own.
#pragma once

#include <cstdint>
#include <span>

namespace podcore::usb::sim {

class Cpu8051Bus {
public:
    virtual ~Cpu8051Bus() = default;

    // The core keeps this span: its bytes may change, its place may not. Fetches beyond its
    // end read 0.
    virtual std::span<const uint8_t> ProgramMemory() const = 0;
    virtual uint8_t ReadXdata(uint16_t address) = 0;
    virtual void WriteXdata(uint16_t address, uint8_t value) = 0;
    virtual uint8_t ReadSfr(uint8_t address) = 0;
    virtual void WriteSfr(uint8_t address, uint8_t value) = 0;
};

} // namespace podcore::usb::sim
