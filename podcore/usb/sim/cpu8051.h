// An 8051 instruction-set interpreter: the whole instruction set, four register banks, 256
// bytes of internal RAM and the core's own special function registers, with the pod
// controller's two data pointers (DPS) and its MPAGE for MOVX @Ri. Everything else goes to the
// bus. Interrupts and timers are not modelled: the pod firmware polls.
#pragma once

#include "usb/sim/cpu8051_bus.h"

#include <array>
#include <cstdint>

namespace podcore::usb::sim {

// The core's state; everything the next instruction depends on apart from the bus.
struct Cpu8051State {
    uint16_t pc = 0;
    uint8_t acc = 0;
    uint8_t b = 0;
    uint8_t psw = 0; // without the parity bit, which follows the accumulator
    uint8_t sp = 0x07;
    uint8_t dps = 0;
    uint8_t mpage = 0;
    std::array<uint16_t, 2> dptr{};
    std::array<uint8_t, 256> ram{};

    bool operator==(const Cpu8051State&) const = default;
};

class Cpu8051 {
public:
    static constexpr uint8_t kCarry = 0x80;
    static constexpr uint8_t kAuxCarry = 0x40;
    static constexpr uint8_t kOverflow = 0x04;
    static constexpr uint8_t kParity = 0x01;

    explicit Cpu8051(Cpu8051Bus& bus);

    // The core's reset: the registers take their reset values, internal RAM keeps its bytes.
    void Reset();
    // Executes one instruction.
    void Step();

    const Cpu8051State& State() const { return state_; }
    Cpu8051State& State() { return state_; }
    // PSW as the program reads it, parity included.
    uint8_t Psw() const;

private:
    uint8_t Code(uint16_t address) const;
    uint8_t Fetch();
    uint16_t Fetch16();
    uint8_t BankBase() const { return state_.psw & 0x18; }
    // The internal RAM byte that the operand of columns 6 to F names (@R0, @R1, R0 to R7).
    uint8_t RamOperandAddress(uint8_t opcode) const;
    uint8_t ReadDirect(uint8_t address);
    void WriteDirect(uint8_t address, uint8_t value);
    uint8_t ReadSfr(uint8_t address);
    void WriteSfr(uint8_t address, uint8_t value);
    // The source operand of columns 4 to F: #data, direct, @Ri or Rn.
    uint8_t ReadOperand(uint8_t opcode);
    // Reads the operand of columns 5 to F, applies `change` and writes the result back; returns
    // the result.
    template <typename Change> uint8_t ModifyOperand(uint8_t opcode, Change change);
    bool ReadBit(uint8_t bit);
    void WriteBit(uint8_t bit, bool value);
    uint16_t& Dptr() { return state_.dptr[state_.dps & 1]; }
    uint16_t XdataAddressOf(uint8_t opcode) const;
    void Push(uint8_t value);
    uint8_t Pop();
    void Call(uint16_t target);
    void JumpRelative(bool taken, uint8_t offset);
    void SetFlag(uint8_t flag, bool value);
    bool Carry() const { return state_.psw & kCarry; }
    void Add(uint8_t value, bool carryIn);
    void SubtractWithBorrow(uint8_t value);
    void DecimalAdjust();
    void Multiply();
    void Divide();
    void CompareAndJump(uint8_t left, uint8_t right);
    void ExecuteRegular(uint8_t opcode);
    void ExecuteIrregular(uint8_t opcode);

    Cpu8051Bus& bus_;
    std::span<const uint8_t> program_;
    Cpu8051State state_;
};

} // namespace podcore::usb::sim
