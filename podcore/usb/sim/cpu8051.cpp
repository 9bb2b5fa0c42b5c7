#include "usb/sim/cpu8051.h"

#include "usb/sim/word_bytes.h"

namespace podcore::usb::sim {

namespace {
constexpr uint8_t kSfrSp = 0x81;
constexpr uint8_t kSfrDpl = 0x82;
constexpr uint8_t kSfrDph = 0x83;
constexpr uint8_t kSfrDpl1 = 0x84;
constexpr uint8_t kSfrDph1 = 0x85;
constexpr uint8_t kSfrDps = 0x86;
constexpr uint8_t kSfrMpage = 0x92;
constexpr uint8_t kSfrPsw = 0xD0;
constexpr uint8_t kSfrAcc = 0xE0;
constexpr uint8_t kSfrB = 0xF0;

} // namespace

Cpu8051::Cpu8051(Cpu8051Bus& bus) : bus_(bus), program_(bus.ProgramMemory()) {}

void Cpu8051::Reset() {
    const auto ram = state_.ram;
    state_ = Cpu8051State{};
    state_.ram = ram;
}

uint8_t Cpu8051::Psw() const {
    return state_.psw | (__builtin_parity(state_.acc) ? kParity : 0);
}

uint8_t Cpu8051::Code(uint16_t address) const {
    return address < program_.size() ? program_[address] : 0;
}

uint8_t Cpu8051::Fetch() {
    return Code(state_.pc++);
}

uint16_t Cpu8051::Fetch16() {
    const uint8_t high = Fetch();
    return static_cast<uint16_t>(high << 8 | Fetch());
}

uint8_t Cpu8051::RamOperandAddress(uint8_t opcode) const {
    if (opcode & 0x08)
        return BankBase() | (opcode & 0x07);
    return state_.ram[BankBase() | (opcode & 0x01)];
}

uint8_t Cpu8051::ReadDirect(uint8_t address) {
    return address < 0x80 ? state_.ram[address] : ReadSfr(address);
}

void Cpu8051::WriteDirect(uint8_t address, uint8_t value) {
    if (address < 0x80)
        state_.ram[address] = value;
    else
        WriteSfr(address, value);
}

uint8_t Cpu8051::ReadSfr(uint8_t address) {
    switch (address) {
    case kSfrAcc:
        return state_.acc;
    case kSfrB:
        return state_.b;
    case kSfrPsw:
        return Psw();
    case kSfrSp:
        return state_.sp;
    case kSfrDpl:
        return LowByte(state_.dptr[0]);
    case kSfrDph:
        return HighByte(state_.dptr[0]);
    case kSfrDpl1:
        return LowByte(state_.dptr[1]);
    case kSfrDph1:
        return HighByte(state_.dptr[1]);
    case kSfrDps:
        return state_.dps;
    case kSfrMpage:
        return state_.mpage;
    default:
        return bus_.ReadSfr(address);
    }
}

void Cpu8051::WriteSfr(uint8_t address, uint8_t value) {
    switch (address) {
    case kSfrAcc:
        state_.acc = value;
        break;
    case kSfrB:
        state_.b = value;
        break;
    case kSfrPsw:
        state_.psw = value & ~kParity;
        break;
    case kSfrSp:
        state_.sp = value;
        break;
    case kSfrDpl:
        state_.dptr[0] = WithLowByte(state_.dptr[0], value);
        break;
    case kSfrDph:
        state_.dptr[0] = WithHighByte(state_.dptr[0], value);
        break;
    case kSfrDpl1:
        state_.dptr[1] = WithLowByte(state_.dptr[1], value);
        break;
    case kSfrDph1:
        state_.dptr[1] = WithHighByte(state_.dptr[1], value);
        break;
    case kSfrDps:
        state_.dps = value & 0x01;
        break;
    case kSfrMpage:
        state_.mpage = value;
        break;
    default:
        bus_.WriteSfr(address, value);
    }
}

uint8_t Cpu8051::ReadOperand(uint8_t opcode) {
    switch (opcode & 0x0F) {
    case 0x04:
        return Fetch();
    case 0x05:
        return ReadDirect(Fetch());
    default:
        return state_.ram[RamOperandAddress(opcode)];
    }
}

template <typename Change> uint8_t Cpu8051::ModifyOperand(uint8_t opcode, Change change) {
    if ((opcode & 0x0F) == 0x05) {
        const uint8_t address = Fetch();
        const uint8_t result = change(ReadDirect(address));
        WriteDirect(address, result);
        return result;
    }
    uint8_t& byte = state_.ram[RamOperandAddress(opcode)];
    byte = change(byte);
    return byte;
}

// Bits 0 to 127 are RAM bytes 0x20 to 0x2F; bits 128 to 255 are in the SFRs at multiples of 8.
bool Cpu8051::ReadBit(uint8_t bit) {
    const uint8_t address = bit < 0x80 ? 0x20 + (bit >> 3) : bit & 0xF8;
    return (ReadDirect(address) >> (bit & 7)) & 1;
}

void Cpu8051::WriteBit(uint8_t bit, bool value) {
    const uint8_t address = bit < 0x80 ? 0x20 + (bit >> 3) : bit & 0xF8;
    const uint8_t mask = 1 << (bit & 7);
    const uint8_t byte = ReadDirect(address);
    WriteDirect(address, value ? byte | mask : byte & ~mask);
}

// MOVX @Ri takes the high address byte from MPAGE.
uint16_t Cpu8051::XdataAddressOf(uint8_t opcode) const {
    return static_cast<uint16_t>(state_.mpage << 8 | state_.ram[BankBase() | (opcode & 1)]);
}

void Cpu8051::Push(uint8_t value) {
    state_.ram[++state_.sp] = value;
}

uint8_t Cpu8051::Pop() {
    return state_.ram[state_.sp--];
}

void Cpu8051::Call(uint16_t target) {
    Push(LowByte(state_.pc));
    Push(HighByte(state_.pc));
    state_.pc = target;
}

void Cpu8051::JumpRelative(bool taken, uint8_t offset) {
    if (taken)
        state_.pc = static_cast<uint16_t>(state_.pc + static_cast<int8_t>(offset));
}

void Cpu8051::SetFlag(uint8_t flag, bool value) {
    state_.psw = value ? state_.psw | flag : state_.psw & ~flag;
}

void Cpu8051::Add(uint8_t value, bool carryIn) {
    const uint8_t a = state_.acc;
    const unsigned sum = a + value + carryIn;
    SetFlag(kCarry, sum > 0xFF);
    SetFlag(kAuxCarry, (a & 0x0F) + (value & 0x0F) + carryIn > 0x0F);
    SetFlag(kOverflow, (~(a ^ value) & (a ^ sum) & 0x80) != 0);
    state_.acc = static_cast<uint8_t>(sum);
}

void Cpu8051::SubtractWithBorrow(uint8_t value) {
    const uint8_t a = state_.acc;
    const int borrow = Carry();
    const int difference = a - value - borrow;
    SetFlag(kCarry, difference < 0);
    SetFlag(kAuxCarry, (a & 0x0F) - (value & 0x0F) - borrow < 0);
    SetFlag(kOverflow, ((a ^ value) & (a ^ difference) & 0x80) != 0);
    state_.acc = static_cast<uint8_t>(difference);
}

// Each step may set the carry but never clears it.
void Cpu8051::DecimalAdjust() {
    unsigned a = state_.acc;
    bool carry = Carry();
    if ((a & 0x0F) > 9 || (state_.psw & kAuxCarry))
        a += 0x06;
    carry = carry || a > 0xFF;
    a &= 0xFF;
    if ((a & 0xF0) > 0x90 || carry)
        a += 0x60;
    SetFlag(kCarry, carry || a > 0xFF);
    state_.acc = static_cast<uint8_t>(a);
}

void Cpu8051::Multiply() {
    const unsigned product = state_.acc * state_.b;
    state_.acc = LowByte(product);
    state_.b = HighByte(product);
    SetFlag(kCarry, false);
    SetFlag(kOverflow, product > 0xFF);
}

// A division by zero sets OV and leaves A and B as they were.
void Cpu8051::Divide() {
    SetFlag(kCarry, false);
    SetFlag(kOverflow, state_.b == 0);
    if (state_.b == 0)
        return;
    const uint8_t quotient = state_.acc / state_.b;
    state_.b = state_.acc % state_.b;
    state_.acc = quotient;
}

void Cpu8051::CompareAndJump(uint8_t left, uint8_t right) {
    const uint8_t offset = Fetch();
    SetFlag(kCarry, left < right);
    JumpRelative(left != right, offset);
}

void Cpu8051::Step() {
    const uint8_t opcode = Fetch();
    if ((opcode & 0x0F) >= 4)
        ExecuteRegular(opcode);
    else
        ExecuteIrregular(opcode);
}

// Columns 4 to F: rows of one operation over #data (or A), direct, @R0, @R1, R0 to R7.
void Cpu8051::ExecuteRegular(uint8_t opcode) {
    const bool column4 = (opcode & 0x0F) == 0x04;
    const bool column5 = (opcode & 0x0F) == 0x05;
    uint8_t& a = state_.acc;
    switch (opcode >> 4) {
    case 0x0: // INC
        if (column4)
            ++a;
        else
            ModifyOperand(opcode, [](uint8_t v) { return static_cast<uint8_t>(v + 1); });
        break;
    case 0x1: // DEC
        if (column4)
            --a;
        else
            ModifyOperand(opcode, [](uint8_t v) { return static_cast<uint8_t>(v - 1); });
        break;
    case 0x2: // ADD
        Add(ReadOperand(opcode), false);
        break;
    case 0x3: // ADDC
        Add(ReadOperand(opcode), Carry());
        break;
    case 0x4: // ORL A
        a |= ReadOperand(opcode);
        break;
    case 0x5: // ANL A
        a &= ReadOperand(opcode);
        break;
    case 0x6: // XRL A
        a ^= ReadOperand(opcode);
        break;
    case 0x7: // MOV ..., #data
        if (column4) {
            a = Fetch();
        } else if (column5) {
            const uint8_t address = Fetch();
            WriteDirect(address, Fetch());
        } else {
            state_.ram[RamOperandAddress(opcode)] = Fetch();
        }
        break;
    case 0x8: // DIV AB; MOV direct, ...
        if (column4) {
            Divide();
        } else if (column5) {
            const uint8_t source = Fetch();
            const uint8_t target = Fetch();
            WriteDirect(target, ReadDirect(source));
        } else {
            const uint8_t value = state_.ram[RamOperandAddress(opcode)];
            WriteDirect(Fetch(), value);
        }
        break;
    case 0x9: // SUBB
        SubtractWithBorrow(ReadOperand(opcode));
        break;
    case 0xA: // MUL AB; the reserved opcode A5 does nothing; MOV ..., direct
        if (column4)
            Multiply();
        else if (!column5)
            state_.ram[RamOperandAddress(opcode)] = ReadDirect(Fetch());
        break;
    case 0xB: // CJNE
        if (column4 || column5) {
            const uint8_t right = ReadOperand(opcode);
            CompareAndJump(a, right);
        } else {
            const uint8_t left = state_.ram[RamOperandAddress(opcode)];
            CompareAndJump(left, Fetch());
        }
        break;
    case 0xC: // SWAP A; XCH
        if (column4) {
            a = static_cast<uint8_t>(a << 4 | a >> 4);
        } else {
            const uint8_t old = a;
            ModifyOperand(opcode, [&a, old](uint8_t v) {
                a = v;
                return old;
            });
        }
        break;
    case 0xD: // DA A; DJNZ; XCHD
        if (column4) {
            DecimalAdjust();
        } else if ((opcode & 0x0E) == 0x06) {
            uint8_t& byte = state_.ram[RamOperandAddress(opcode)];
            const uint8_t low = byte & 0x0F;
            byte = (byte & 0xF0) | (a & 0x0F);
            a = (a & 0xF0) | low;
        } else {
            const uint8_t count =
                ModifyOperand(opcode, [](uint8_t v) { return static_cast<uint8_t>(v - 1); });
            JumpRelative(count != 0, Fetch());
        }
        break;
    case 0xE: // CLR A; MOV A, ...
        a = column4 ? 0 : ReadOperand(opcode);
        break;
    case 0xF: // CPL A; MOV ..., A
        if (column4) {
            a = static_cast<uint8_t>(~a);
        } else if (column5) {
            WriteDirect(Fetch(), a);
        } else {
            state_.ram[RamOperandAddress(opcode)] = a;
        }
        break;
    }
}

// Columns 0 to 3: jumps, calls, bit operations, the data pointer, MOVX and the rotates.
void Cpu8051::ExecuteIrregular(uint8_t opcode) {
    uint8_t& a = state_.acc;
    if ((opcode & 0x0F) == 0x01) { // AJMP, ACALL within the 2 KB page of the next instruction
        const uint8_t low = Fetch();
        const auto target =
            static_cast<uint16_t>((state_.pc & 0xF800) | (opcode & 0xE0) << 3 | low);
        if (opcode & 0x10)
            Call(target);
        else
            state_.pc = target;
        return;
    }
    switch (opcode) {
    case 0x00: // NOP
        break;
    case 0x02: // LJMP
        state_.pc = Fetch16();
        break;
    case 0x03: // RR A
        a = static_cast<uint8_t>(a >> 1 | a << 7);
        break;
    case 0x10: { // JBC
        const uint8_t bit = Fetch();
        const uint8_t offset = Fetch();
        const bool set = ReadBit(bit);
        if (set)
            WriteBit(bit, false);
        JumpRelative(set, offset);
        break;
    }
    case 0x12: // LCALL
        Call(Fetch16());
        break;
    case 0x13: { // RRC A
        const bool out = a & 1;
        a = static_cast<uint8_t>(a >> 1 | (Carry() ? 0x80 : 0));
        SetFlag(kCarry, out);
        break;
    }
    case 0x20: { // JB
        const uint8_t bit = Fetch();
        JumpRelative(ReadBit(bit), Fetch());
        break;
    }
    case 0x22:   // RET
    case 0x32: { // RETI: without interrupts, a return
        const uint8_t high = Pop();
        state_.pc = static_cast<uint16_t>(high << 8 | Pop());
        break;
    }
    case 0x23: // RL A
        a = static_cast<uint8_t>(a << 1 | a >> 7);
        break;
    case 0x30: { // JNB
        const uint8_t bit = Fetch();
        JumpRelative(!ReadBit(bit), Fetch());
        break;
    }
    case 0x33: { // RLC A
        const bool out = a & 0x80;
        a = static_cast<uint8_t>(a << 1 | (Carry() ? 1 : 0));
        SetFlag(kCarry, out);
        break;
    }
    case 0x40: // JC
        JumpRelative(Carry(), Fetch());
        break;
    case 0x42: // ORL direct, A
        ModifyOperand(0x05, [a](uint8_t v) { return static_cast<uint8_t>(v | a); });
        break;
    case 0x43: { // ORL direct, #data
        const uint8_t address = Fetch();
        WriteDirect(address, ReadDirect(address) | Fetch());
        break;
    }
    case 0x50: // JNC
        JumpRelative(!Carry(), Fetch());
        break;
    case 0x52: // ANL direct, A
        ModifyOperand(0x05, [a](uint8_t v) { return static_cast<uint8_t>(v & a); });
        break;
    case 0x53: { // ANL direct, #data
        const uint8_t address = Fetch();
        WriteDirect(address, ReadDirect(address) & Fetch());
        break;
    }
    case 0x60: // JZ
        JumpRelative(a == 0, Fetch());
        break;
    case 0x62: // XRL direct, A
        ModifyOperand(0x05, [a](uint8_t v) { return static_cast<uint8_t>(v ^ a); });
        break;
    case 0x63: { // XRL direct, #data
        const uint8_t address = Fetch();
        WriteDirect(address, ReadDirect(address) ^ Fetch());
        break;
    }
    case 0x70: // JNZ
        JumpRelative(a != 0, Fetch());
        break;
    case 0x72: // ORL C, bit
        SetFlag(kCarry, Carry() | ReadBit(Fetch()));
        break;
    case 0x73: // JMP @A+DPTR
        state_.pc = static_cast<uint16_t>(a + Dptr());
        break;
    case 0x80: // SJMP
        JumpRelative(true, Fetch());
        break;
    case 0x82: // ANL C, bit
        SetFlag(kCarry, Carry() & ReadBit(Fetch()));
        break;
    case 0x83: // MOVC A, @A+PC
        a = Code(static_cast<uint16_t>(a + state_.pc));
        break;
    case 0x90: // MOV DPTR, #data16
        Dptr() = Fetch16();
        break;
    case 0x92: // MOV bit, C
        WriteBit(Fetch(), Carry());
        break;
    case 0x93: // MOVC A, @A+DPTR
        a = Code(static_cast<uint16_t>(a + Dptr()));
        break;
    case 0xA0: // ORL C, /bit
        SetFlag(kCarry, Carry() | !ReadBit(Fetch()));
        break;
    case 0xA2: // MOV C, bit
        SetFlag(kCarry, ReadBit(Fetch()));
        break;
    case 0xA3: // INC DPTR
        ++Dptr();
        break;
    case 0xB0: // ANL C, /bit
        SetFlag(kCarry, Carry() & !ReadBit(Fetch()));
        break;
    case 0xB2: { // CPL bit
        const uint8_t bit = Fetch();
        WriteBit(bit, !ReadBit(bit));
        break;
    }
    case 0xB3: // CPL C
        SetFlag(kCarry, !Carry());
        break;
    case 0xC0: // PUSH
        Push(ReadDirect(Fetch()));
        break;
    case 0xC2: // CLR bit
        WriteBit(Fetch(), false);
        break;
    case 0xC3: // CLR C
        SetFlag(kCarry, false);
        break;
    case 0xD0: { // POP
        const uint8_t value = Pop();
        WriteDirect(Fetch(), value);
        break;
    }
    case 0xD2: // SETB bit
        WriteBit(Fetch(), true);
        break;
    case 0xD3: // SETB C
        SetFlag(kCarry, true);
        break;
    case 0xE0: // MOVX A, @DPTR
        a = bus_.ReadXdata(Dptr());
        break;
    case 0xE2: // MOVX A, @Ri
    case 0xE3:
        a = bus_.ReadXdata(XdataAddressOf(opcode));
        break;
    case 0xF0: // MOVX @DPTR, A
        bus_.WriteXdata(Dptr(), a);
        break;
    case 0xF2: // MOVX @Ri, A
    case 0xF3:
        bus_.WriteXdata(XdataAddressOf(opcode), a);
        break;
    }
}

} // namespace podcore::usb::sim
