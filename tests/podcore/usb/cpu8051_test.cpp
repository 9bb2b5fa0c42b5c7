// Every 8051 instruction, one step each, against its expected result worked out by hand. Each
// case starts from memory filled with distinct bytes, so that an operand read from the wrong
// place shows, and compares the whole state afterwards, so that a write to the wrong place
// shows too.
#include "usb/sim/cpu8051.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <string>
#include <vector>

namespace podtest {
namespace {

using podcore::usb::sim::Cpu8051;
using podcore::usb::sim::Cpu8051Bus;
using podcore::usb::sim::Cpu8051State;

constexpr uint8_t CY = Cpu8051::kCarry;
constexpr uint8_t AC = Cpu8051::kAuxCarry;
constexpr uint8_t OV = Cpu8051::kOverflow;
constexpr uint8_t P = Cpu8051::kParity;
constexpr uint16_t kOrigin = 0x0100;

uint8_t Pattern(unsigned at, unsigned seed) {
    return static_cast<uint8_t>(at * 73 + seed);
}

// 64 KB of program memory and external data memory, and the SFRs beyond the core's own.
class TableBus : public Cpu8051Bus {
public:
    TableBus() : code(0x10000) {
        for (unsigned i = 0; i < xdata.size(); ++i)
            xdata[i] = Pattern(i, 0x29);
        for (unsigned i = 0; i < sfr.size(); ++i)
            sfr[i] = Pattern(i, 0x47);
    }
    std::span<const uint8_t> ProgramMemory() const override { return code; }
    uint8_t ReadXdata(uint16_t address) override { return xdata[address]; }
    void WriteXdata(uint16_t address, uint8_t value) override { xdata[address] = value; }
    uint8_t ReadSfr(uint8_t address) override { return sfr[address - 0x80]; }
    void WriteSfr(uint8_t address, uint8_t value) override { sfr[address - 0x80] = value; }

    std::vector<uint8_t> code;
    std::array<uint8_t, 0x10000> xdata;
    std::array<uint8_t, 0x80> sfr;
};

enum class Where { A, B, Psw, Sp, Dptr0, Dptr1, Dps, Mpage, Pc, Ram, Sfr, Xdata, Code };

struct Cell {
    Where where;
    uint16_t address;
    uint16_t value;
};

Cell A(uint8_t v) {
    return {Where::A, 0, v};
}
Cell B(uint8_t v) {
    return {Where::B, 0, v};
}
// Given: PSW without its parity bit. Expected: PSW as the program reads it, parity included.
Cell Psw(uint8_t v) {
    return {Where::Psw, 0, v};
}
Cell Sp(uint8_t v) {
    return {Where::Sp, 0, v};
}
Cell Dptr0(uint16_t v) {
    return {Where::Dptr0, 0, v};
}
Cell Dptr1(uint16_t v) {
    return {Where::Dptr1, 0, v};
}
Cell Dps(uint8_t v) {
    return {Where::Dps, 0, v};
}
Cell Mpage(uint8_t v) {
    return {Where::Mpage, 0, v};
}
Cell Pc(uint16_t v) {
    return {Where::Pc, 0, v};
}
Cell Ram(uint8_t at, uint8_t v) {
    return {Where::Ram, at, v};
}
Cell R(uint8_t n, uint8_t v) {
    return Ram(n, v);
} // bank 0
Cell Sfr(uint8_t at, uint8_t v) {
    return {Where::Sfr, at, v};
}
Cell Xdata(uint16_t at, uint8_t v) {
    return {Where::Xdata, at, v};
}
Cell Code(uint16_t at, uint8_t v) {
    return {Where::Code, at, v};
}

struct Case {
    std::string name;
    std::vector<uint8_t> code;
    std::vector<Cell> given;
    std::vector<Cell> expect; // PC defaults to the next instruction, PSW to unchanged
    uint16_t origin = kOrigin;
};

// The whole machine: the core's state and the bus.
struct Machine {
    Cpu8051State cpu;
    uint8_t psw; // as read, parity included
    TableBus bus;
};

void Apply(Machine& m, const Cell& cell) {
    const auto byte = static_cast<uint8_t>(cell.value);
    switch (cell.where) {
    case Where::A:
        m.cpu.acc = byte;
        break;
    case Where::B:
        m.cpu.b = byte;
        break;
    case Where::Psw:
        m.psw = byte;
        break;
    case Where::Sp:
        m.cpu.sp = byte;
        break;
    case Where::Dptr0:
        m.cpu.dptr[0] = cell.value;
        break;
    case Where::Dptr1:
        m.cpu.dptr[1] = cell.value;
        break;
    case Where::Dps:
        m.cpu.dps = byte;
        break;
    case Where::Mpage:
        m.cpu.mpage = byte;
        break;
    case Where::Pc:
        m.cpu.pc = cell.value;
        break;
    case Where::Ram:
        m.cpu.ram[cell.address] = byte;
        break;
    case Where::Sfr:
        m.bus.sfr[cell.address - 0x80] = byte;
        break;
    case Where::Xdata:
        m.bus.xdata[cell.address] = byte;
        break;
    case Where::Code:
        m.bus.code[cell.address] = byte;
        break;
    }
}

// Register families: one case per register R0 to R7, each in a bank of its own choosing, so
// that a register read from the wrong bank shows.
struct Family {
    std::string name;
    uint8_t opcode; // for R0
    std::vector<uint8_t> operands;
    uint8_t before; // the register, before and after
    uint8_t after;
    std::vector<Cell> given;
    std::vector<Cell> expect;
    uint8_t givenFlags = 0; // PSW without the bank bits, before and after
    uint8_t flags = 0;
    int jump = 0; // expected PC relative to the next instruction
};

void AddFamily(std::vector<Case>& cases, const Family& family) {
    for (uint8_t n = 0; n < 8; ++n) {
        const uint8_t bank = n % 4;
        const auto address = static_cast<uint8_t>(bank * 8 + n);
        Case c{family.name + " R" + std::to_string(n) + " in bank " + std::to_string(bank),
               {static_cast<uint8_t>(family.opcode + n)},
               family.given,
               family.expect};
        c.code.insert(c.code.end(), family.operands.begin(), family.operands.end());
        c.given.push_back(Psw(static_cast<uint8_t>(bank << 3 | family.givenFlags)));
        c.given.push_back(Ram(address, family.before));
        c.expect.push_back(Ram(address, family.after));
        c.expect.push_back(Psw(static_cast<uint8_t>(bank << 3 | family.flags)));
        c.expect.push_back(Pc(static_cast<uint16_t>(kOrigin + c.code.size() + family.jump)));
        cases.push_back(c);
    }
}

std::vector<Case> Cases() {
    std::vector<Case> cases = {
        // Arithmetic.
        {"ADD A,#data: carry and half carry, no overflow",
         {0x24, 0x8F},
         {A(0x7A)},
         {A(0x09), Psw(CY | AC)}},
        {"ADD A,#data: signed overflow", {0x24, 0x01}, {A(0x7F)}, {A(0x80), Psw(AC | OV | P)}},
        {"ADD A,direct: two negatives overflow to zero",
         {0x25, 0x30},
         {A(0x80), Ram(0x30, 0x80)},
         {A(0x00), Psw(CY | OV)}},
        {"ADD A,direct: B through its SFR address",
         {0x25, 0xF0},
         {A(0x01), B(0x02)},
         {A(0x03), Psw(0)}},
        {"ADD A,@R0 reads upper RAM, not an SFR",
         {0x26},
         {A(0x0A), R(0, 0x90), Ram(0x90, 0x05), Sfr(0x90, 0x50)},
         {A(0x0F), Psw(0)}},
        {"ADD A,@R1: half carry",
         {0x27},
         {A(0x08), R(1, 0x31), Ram(0x31, 0x08)},
         {A(0x10), Psw(AC | P)}},
        {"ADDC A,#data: the carry in overflows",
         {0x34, 0x00},
         {A(0x7F), Psw(CY)},
         {A(0x80), Psw(AC | OV | P)}},
        {"ADDC A,#data: all ones with carry",
         {0x34, 0xFF},
         {A(0xFF), Psw(CY)},
         {A(0xFF), Psw(CY | AC)}},
        {"ADDC A,direct: the carry is used and cleared",
         {0x35, 0x30},
         {A(0x10), Ram(0x30, 0x20), Psw(CY)},
         {A(0x31), Psw(P)}},
        {"ADDC A,@R0 without carry",
         {0x36},
         {A(0x01), R(0, 0x40), Ram(0x40, 0x01)},
         {A(0x02), Psw(P)}},
        {"ADDC A,@R1: carry out",
         {0x37},
         {A(0xF0), R(1, 0x41), Ram(0x41, 0x10), Psw(CY)},
         {A(0x01), Psw(CY | P)}},
        {"SUBB A,#data: signed overflow and half borrow",
         {0x94, 0x01},
         {A(0x80)},
         {A(0x7F), Psw(AC | OV | P)}},
        {"SUBB A,#data: the borrow in wraps through zero",
         {0x94, 0x00},
         {A(0x00), Psw(CY)},
         {A(0xFF), Psw(CY | AC)}},
        {"SUBB A,#data: no borrow", {0x94, 0x29}, {A(0x49)}, {A(0x20), Psw(P)}},
        {"SUBB A,direct: a larger value borrows",
         {0x95, 0x30},
         {A(0x10), Ram(0x30, 0x20)},
         {A(0xF0), Psw(CY)}},
        {"SUBB A,@R0 with the borrow in",
         {0x96},
         {A(0x05), R(0, 0x40), Ram(0x40, 0x03), Psw(CY)},
         {A(0x01), Psw(P)}},
        {"SUBB A,@R1: 127 - (-1) overflows",
         {0x97},
         {A(0x7F), R(1, 0x41), Ram(0x41, 0xFF)},
         {A(0x80), Psw(CY | OV | P)}},
        {"INC A wraps", {0x04}, {A(0xFF)}, {A(0x00), Psw(0)}},
        {"INC direct", {0x05, 0x30}, {Ram(0x30, 0x41)}, {Ram(0x30, 0x42)}},
        {"INC direct on a bus SFR", {0x05, 0x90}, {Sfr(0x90, 0x7F)}, {Sfr(0x90, 0x80)}},
        {"INC @R0 in upper RAM", {0x06}, {R(0, 0xC0), Ram(0xC0, 0x10)}, {Ram(0xC0, 0x11)}},
        {"INC @R1 wraps", {0x07}, {R(1, 0x31), Ram(0x31, 0xFF)}, {Ram(0x31, 0x00)}},
        {"DEC A wraps", {0x14}, {A(0x00)}, {A(0xFF), Psw(0)}},
        {"DEC direct wraps", {0x15, 0x30}, {Ram(0x30, 0x00)}, {Ram(0x30, 0xFF)}},
        {"DEC @R0", {0x16}, {R(0, 0x40), Ram(0x40, 0x10)}, {Ram(0x40, 0x0F)}},
        {"DEC @R1", {0x17}, {R(1, 0xFF), Ram(0xFF, 0x01)}, {Ram(0xFF, 0x00)}},
        {"INC DPTR carries into DPH", {0xA3}, {Dptr0(0x00FF)}, {Dptr0(0x0100)}},
        {"INC DPTR wraps", {0xA3}, {Dptr0(0xFFFF)}, {Dptr0(0x0000)}},
        {"INC DPTR with DPS selects the second pointer",
         {0xA3},
         {Dps(1), Dptr1(0x1234)},
         {Dptr1(0x1235)}},
        {"MUL AB: a product above 255 sets OV",
         {0xA4},
         {A(0x50), B(0xA0), Psw(CY)},
         {A(0x00), B(0x32), Psw(OV)}},
        {"MUL AB: a small product",
         {0xA4},
         {A(0x0C), B(0x0A), Psw(CY | OV)},
         {A(0x78), B(0x00), Psw(0)}},
        {"DIV AB", {0x84}, {A(0xFB), B(0x12), Psw(CY | OV)}, {A(0x0D), B(0x11), Psw(P)}},
        {"DIV AB by zero sets OV and keeps A and B",
         {0x84},
         {A(0x33), B(0x00), Psw(CY)},
         {Psw(OV)}},
        {"DA A: both nibbles adjusted, carry out", {0xD4}, {A(0xBD)}, {A(0x23), Psw(CY | P)}},
        {"DA A: the low nibble only", {0xD4}, {A(0x0F)}, {A(0x15), Psw(P)}},
        {"DA A: after a half carry", {0xD4}, {A(0x10), Psw(AC)}, {A(0x16), Psw(AC | P)}},
        {"DA A: the low step's carry adjusts the high nibble",
         {0xD4},
         {A(0xFA)},
         {A(0x60), Psw(CY)}},

        // Logic and the accumulator.
        {"ORL direct,A", {0x42, 0x30}, {A(0xF0), Ram(0x30, 0x0F)}, {Ram(0x30, 0xFF)}},
        {"ORL direct,#data on a bus SFR", {0x43, 0x90, 0x81}, {Sfr(0x90, 0x10)}, {Sfr(0x90, 0x91)}},
        {"ORL A,#data", {0x44, 0x0F}, {A(0x30)}, {A(0x3F), Psw(0)}},
        {"ORL A,direct", {0x45, 0x30}, {A(0x01), Ram(0x30, 0x80)}, {A(0x81), Psw(0)}},
        {"ORL A,@R0", {0x46}, {A(0x01), R(0, 0x40), Ram(0x40, 0x02)}, {A(0x03), Psw(0)}},
        {"ORL A,@R1", {0x47}, {A(0x10), R(1, 0x41), Ram(0x41, 0x20)}, {A(0x30), Psw(0)}},
        {"ANL direct,A", {0x52, 0x30}, {A(0x0F), Ram(0x30, 0x3C)}, {Ram(0x30, 0x0C)}},
        {"ANL direct,#data", {0x53, 0x30, 0xF0}, {Ram(0x30, 0x3C)}, {Ram(0x30, 0x30)}},
        {"ANL A,#data", {0x54, 0x0F}, {A(0x3C)}, {A(0x0C), Psw(0)}},
        {"ANL A,direct", {0x55, 0x30}, {A(0xFF), Ram(0x30, 0x07)}, {A(0x07), Psw(P)}},
        {"ANL A,@R0", {0x56}, {A(0xF0), R(0, 0x40), Ram(0x40, 0x3C)}, {A(0x30), Psw(0)}},
        {"ANL A,@R1", {0x57}, {A(0x81), R(1, 0x41), Ram(0x41, 0x01)}, {A(0x01), Psw(P)}},
        {"XRL direct,A", {0x62, 0x30}, {A(0xFF), Ram(0x30, 0x0F)}, {Ram(0x30, 0xF0)}},
        {"XRL direct,#data", {0x63, 0x30, 0x01}, {Ram(0x30, 0x03)}, {Ram(0x30, 0x02)}},
        {"XRL A,#data", {0x64, 0x0F}, {A(0xFF)}, {A(0xF0), Psw(0)}},
        {"XRL A,direct", {0x65, 0x30}, {A(0x01), Ram(0x30, 0x01)}, {A(0x00), Psw(0)}},
        {"XRL A,@R0", {0x66}, {A(0x0F), R(0, 0x40), Ram(0x40, 0x01)}, {A(0x0E), Psw(P)}},
        {"XRL A,@R1", {0x67}, {A(0x80), R(1, 0x41), Ram(0x41, 0x40)}, {A(0xC0), Psw(0)}},
        {"RR A", {0x03}, {A(0x81)}, {A(0xC0), Psw(0)}},
        {"RRC A: bit 0 into the carry", {0x13}, {A(0x81)}, {A(0x40), Psw(CY | P)}},
        {"RRC A: the carry into bit 7", {0x13}, {A(0x00), Psw(CY)}, {A(0x80), Psw(P)}},
        {"RL A", {0x23}, {A(0x81)}, {A(0x03), Psw(0)}},
        {"RLC A", {0x33}, {A(0x81)}, {A(0x02), Psw(CY | P)}},
        {"SWAP A", {0xC4}, {A(0x5A)}, {A(0xA5), Psw(0)}},
        {"CLR A", {0xE4}, {A(0x01)}, {A(0x00), Psw(0)}},
        {"CPL A", {0xF4}, {A(0x55)}, {A(0xAA), Psw(0)}},

        // Moves.
        {"MOV A,#data", {0x74, 0x01}, {}, {A(0x01), Psw(P)}},
        {"MOV direct,#data", {0x75, 0x30, 0x99}, {}, {Ram(0x30, 0x99)}},
        {"MOV PSW,#data: the parity bit follows A, not the write",
         {0x75, 0xD0, 0xFF},
         {A(0x03)},
         {Psw(0xFE)}},
        {"MOV @R0,#data in upper RAM", {0x76, 0x44}, {R(0, 0x80)}, {Ram(0x80, 0x44)}},
        {"MOV @R1,#data", {0x77, 0x45}, {R(1, 0x41)}, {Ram(0x41, 0x45)}},
        {"MOV direct,direct: the source comes first",
         {0x85, 0x31, 0x30},
         {Ram(0x31, 0x12), Ram(0x30, 0x00)},
         {Ram(0x30, 0x12)}},
        {"MOV direct,direct: SFR to SFR", {0x85, 0xF0, 0x90}, {B(0x3D)}, {Sfr(0x90, 0x3D)}},
        {"MOV direct,@R0", {0x86, 0x30}, {R(0, 0x40), Ram(0x40, 0x77)}, {Ram(0x30, 0x77)}},
        {"MOV direct,@R1 into a bus SFR",
         {0x87, 0xA0},
         {R(1, 0x41), Ram(0x41, 0x66)},
         {Sfr(0xA0, 0x66)}},
        {"MOV @R0,direct", {0xA6, 0x30}, {R(0, 0x40), Ram(0x30, 0x21)}, {Ram(0x40, 0x21)}},
        {"MOV @R1,direct from a bus SFR",
         {0xA7, 0x90},
         {R(1, 0x41), Sfr(0x90, 0x21)},
         {Ram(0x41, 0x21)}},
        {"MOV A,direct", {0xE5, 0x30}, {Ram(0x30, 0x07)}, {A(0x07), Psw(P)}},
        {"MOV A,@R0", {0xE6}, {R(0, 0x40), Ram(0x40, 0x03)}, {A(0x03), Psw(0)}},
        {"MOV A,@R1", {0xE7}, {R(1, 0xA0), Ram(0xA0, 0x80), Sfr(0xA0, 0x01)}, {A(0x80), Psw(P)}},
        {"MOV direct,A into a bus SFR", {0xF5, 0x90}, {A(0x12)}, {Sfr(0x90, 0x12)}},
        {"MOV @R0,A", {0xF6}, {A(0x12), R(0, 0x40)}, {Ram(0x40, 0x12)}},
        {"MOV @R1,A", {0xF7}, {A(0x12), R(1, 0xF0)}, {Ram(0xF0, 0x12)}},
        {"MOV DPTR,#data16", {0x90, 0x12, 0x34}, {}, {Dptr0(0x1234)}},
        {"MOV DPTR,#data16 with DPS", {0x90, 0xAB, 0xCD}, {Dps(1)}, {Dptr1(0xABCD)}},
        {"MOVC A,@A+DPTR", {0x93}, {A(0x02), Dptr0(0x2000), Code(0x2002, 0x7E)}, {A(0x7E), Psw(0)}},
        {"MOVC A,@A+PC counts from the next instruction",
         {0x83},
         {A(0x10), Code(0x0111, 0x01)},
         {A(0x01), Psw(P)}},
        {"MOVX A,@DPTR", {0xE0}, {Dptr0(0xE601), Xdata(0xE601, 0x3C)}, {A(0x3C), Psw(0)}},
        {"MOVX A,@DPTR with DPS",
         {0xE0},
         {Dps(1), Dptr1(0x1234), Dptr0(0x2222), Xdata(0x1234, 0x01)},
         {A(0x01), Psw(P)}},
        {"MOVX A,@R0 takes its high byte from MPAGE",
         {0xE2},
         {Mpage(0xE6), R(0, 0x8F), Xdata(0xE68F, 0x07)},
         {A(0x07), Psw(P)}},
        {"MOVX A,@R1", {0xE3}, {Mpage(0x12), R(1, 0x34), Xdata(0x1234, 0x03)}, {A(0x03), Psw(0)}},
        {"MOVX @DPTR,A", {0xF0}, {A(0x55), Dptr0(0xE7C0)}, {Xdata(0xE7C0, 0x55)}},
        {"MOVX @R0,A", {0xF2}, {A(0x56), Mpage(0xE7), R(0, 0xC0)}, {Xdata(0xE7C0, 0x56)}},
        {"MOVX @R1,A", {0xF3}, {A(0x57), Mpage(0x00), R(1, 0x10)}, {Xdata(0x0010, 0x57)}},
        {"XCH A,direct",
         {0xC5, 0x30},
         {A(0x12), Ram(0x30, 0x34)},
         {A(0x34), Ram(0x30, 0x12), Psw(P)}},
        {"XCH A,direct with B", {0xC5, 0xF0}, {A(0x01), B(0x03)}, {A(0x03), B(0x01), Psw(0)}},
        {"XCH A,@R0",
         {0xC6},
         {A(0x01), R(0, 0x40), Ram(0x40, 0x07)},
         {A(0x07), Ram(0x40, 0x01), Psw(P)}},
        {"XCH A,@R1",
         {0xC7},
         {A(0x02), R(1, 0x41), Ram(0x41, 0x03)},
         {A(0x03), Ram(0x41, 0x02), Psw(0)}},
        {"XCHD A,@R0",
         {0xD6},
         {A(0x36), R(0, 0x40), Ram(0x40, 0x75)},
         {A(0x35), Ram(0x40, 0x76), Psw(0)}},
        {"XCHD A,@R1",
         {0xD7},
         {A(0xF0), R(1, 0x41), Ram(0x41, 0x0F)},
         {A(0xFF), Ram(0x41, 0x00), Psw(0)}},

        // The stack, calls and returns.
        {"PUSH direct", {0xC0, 0x30}, {Ram(0x30, 0x9A)}, {Sp(0x08), Ram(0x08, 0x9A)}},
        {"PUSH ACC into upper RAM", {0xC0, 0xE0}, {A(0x42), Sp(0x7F)}, {Sp(0x80), Ram(0x80, 0x42)}},
        {"POP direct into B", {0xD0, 0xF0}, {Sp(0x40), Ram(0x40, 0x5C)}, {B(0x5C), Sp(0x3F)}},
        {"POP PSW keeps the parity of A",
         {0xD0, 0xD0},
         {Sp(0x40), Ram(0x40, 0xFF)},
         {Psw(0xFE), Sp(0x3F)}},
        {"LCALL", {0x12, 0x12, 0x34}, {}, {Pc(0x1234), Sp(0x09), Ram(0x08, 0x03), Ram(0x09, 0x01)}},
        {"RET", {0x22}, {Sp(0x09), Ram(0x08, 0x34), Ram(0x09, 0x12)}, {Pc(0x1234), Sp(0x07)}},
        {"RETI", {0x32}, {Sp(0x81), Ram(0x80, 0x78), Ram(0x81, 0x56)}, {Pc(0x5678), Sp(0x7F)}},
        {"ACALL across a 2 KB page boundary",
         {0x11, 0x10},
         {},
         {Pc(0x0810), Sp(0x09), Ram(0x08, 0x00), Ram(0x09, 0x08)},
         0x07FE},
        {"AJMP across a 2 KB page boundary", {0xE1, 0xFF}, {}, {Pc(0x17FF)}, 0x0FFE},

        // Jumps.
        {"LJMP", {0x02, 0xBE, 0xEF}, {}, {Pc(0xBEEF)}},
        {"SJMP backwards", {0x80, 0xFE}, {}, {Pc(0x0100)}},
        {"SJMP forwards", {0x80, 0x7F}, {}, {Pc(0x0181)}},
        {"JMP @A+DPTR", {0x73}, {A(0x04), Dptr0(0x2000)}, {Pc(0x2004)}},
        {"JC taken", {0x40, 0x10}, {Psw(CY)}, {Pc(0x0112)}},
        {"JC not taken", {0x40, 0x10}, {}, {}},
        {"JNC taken backwards", {0x50, 0xF0}, {}, {Pc(0x00F2)}},
        {"JNC not taken", {0x50, 0xF0}, {Psw(CY)}, {}},
        {"JZ taken", {0x60, 0x05}, {A(0x00)}, {Pc(0x0107)}},
        {"JZ not taken", {0x60, 0x05}, {A(0x01)}, {}},
        {"JNZ taken", {0x70, 0x05}, {A(0x80)}, {Pc(0x0107)}},
        {"JNZ not taken", {0x70, 0x05}, {A(0x00)}, {}},
        {"JB on a RAM bit", {0x20, 0x0F, 0x03}, {Ram(0x21, 0x80)}, {Pc(0x0106)}},
        {"JB on a clear bus SFR bit", {0x20, 0x93, 0x03}, {Sfr(0x90, 0xF7)}, {}},
        {"JNB on ACC.7", {0x30, 0xE7, 0x10}, {A(0x7F)}, {Pc(0x0113)}},
        {"JBC clears the bit it jumps on",
         {0x10, 0x00, 0x04},
         {Ram(0x20, 0x01)},
         {Ram(0x20, 0x00), Pc(0x0107)}},
        {"JBC on a clear bit", {0x10, 0x01, 0x04}, {Ram(0x20, 0x01)}, {}},
        {"JBC on a bus SFR bit",
         {0x10, 0x97, 0x04},
         {Sfr(0x90, 0x80)},
         {Sfr(0x90, 0x00), Pc(0x0107)}},
        {"CJNE A,#data equal: no jump, carry cleared",
         {0xB4, 0x40, 0x10},
         {A(0x40), Psw(CY)},
         {Psw(P)}},
        {"CJNE A,#data less: jump and carry",
         {0xB4, 0x41, 0x10},
         {A(0x40)},
         {Psw(CY | P), Pc(0x0113)}},
        {"CJNE A,#data greater: jump, no carry",
         {0xB4, 0x3F, 0xF0},
         {A(0x40), Psw(CY)},
         {Psw(P), Pc(0x00F3)}},
        {"CJNE A,direct",
         {0xB5, 0x30, 0x10},
         {A(0x10), Ram(0x30, 0x20)},
         {Psw(CY | P), Pc(0x0113)}},
        {"CJNE @R0,#data equal", {0xB6, 0x05, 0x10}, {R(0, 0x40), Ram(0x40, 0x05)}, {}},
        {"CJNE @R1,#data less",
         {0xB7, 0x06, 0x10},
         {R(1, 0x41), Ram(0x41, 0x05)},
         {Psw(CY), Pc(0x0113)}},
        {"DJNZ direct to zero", {0xD5, 0x30, 0x10}, {Ram(0x30, 0x01)}, {Ram(0x30, 0x00)}},
        {"DJNZ direct wraps and jumps",
         {0xD5, 0x30, 0x10},
         {Ram(0x30, 0x00)},
         {Ram(0x30, 0xFF), Pc(0x0113)}},

        // Bits.
        {"ORL C,bit", {0x72, 0x00}, {Ram(0x20, 0x01)}, {Psw(CY)}},
        {"ORL C,/bit", {0xA0, 0x01}, {Ram(0x20, 0x01)}, {Psw(CY)}},
        {"ANL C,bit", {0x82, 0x00}, {Psw(CY), Ram(0x20, 0xFE)}, {Psw(0)}},
        {"ANL C,/bit", {0xB0, 0x00}, {Psw(CY), Ram(0x20, 0xFE)}, {Psw(CY)}},
        {"MOV bit,C into a bus SFR", {0x92, 0x97}, {Psw(CY), Sfr(0x90, 0x00)}, {Sfr(0x90, 0x80)}},
        {"MOV C,bit", {0xA2, 0x7F}, {Ram(0x2F, 0x80)}, {Psw(CY)}},
        {"CPL bit", {0xB2, 0x08}, {Ram(0x21, 0x00)}, {Ram(0x21, 0x01)}},
        {"CPL C", {0xB3}, {}, {Psw(CY)}},
        {"CLR bit on PSW.5", {0xC2, 0xD5}, {Psw(0x20)}, {Psw(0)}},
        {"CLR C", {0xC3}, {Psw(CY | AC)}, {Psw(AC)}},
        {"SETB bit on ACC.0", {0xD2, 0xE0}, {A(0x00)}, {A(0x01), Psw(P)}},
        {"SETB bit on the parity bit changes nothing", {0xD2, 0xD0}, {A(0x00)}, {Psw(0)}},
        {"SETB C", {0xD3}, {}, {Psw(CY)}},

        {"NOP", {0x00}, {}, {}},
        {"the reserved opcode A5 does nothing", {0xA5}, {}, {}},
    };

    for (uint8_t page = 0; page < 8; ++page) {
        const auto target = static_cast<uint16_t>(page << 8 | 0x5A);
        cases.push_back({"ACALL page " + std::to_string(page),
                         {static_cast<uint8_t>(page << 5 | 0x11), 0x5A},
                         {},
                         {Pc(target), Sp(0x09), Ram(0x08, 0x02), Ram(0x09, 0x01)}});
        cases.push_back({"AJMP page " + std::to_string(page),
                         {static_cast<uint8_t>(page << 5 | 0x01), 0x5A},
                         {},
                         {Pc(target)}});
    }

    const Family families[] = {
        {"INC", 0x08, {}, 0x7F, 0x80, {}, {}},
        {"DEC", 0x18, {}, 0x00, 0xFF, {}, {}},
        {"ADD A,", 0x28, {}, 0x02, 0x02, {A(0x01)}, {A(0x03)}},
        {"ADDC A, with carry", 0x38, {}, 0x01, 0x01, {A(0x01)}, {A(0x03)}, CY},
        {"ORL A,", 0x48, {}, 0x02, 0x02, {A(0x01)}, {A(0x03)}},
        {"ANL A,", 0x58, {}, 0x03, 0x03, {A(0x07)}, {A(0x03)}},
        {"XRL A,", 0x68, {}, 0x02, 0x02, {A(0x01)}, {A(0x03)}},
        {"MOV #data into", 0x78, {0x5A}, 0x00, 0x5A, {}, {}},
        {"MOV direct from", 0x88, {0x30}, 0x3C, 0x3C, {Ram(0x30, 0)}, {Ram(0x30, 0x3C)}},
        {"SUBB A,", 0x98, {}, 0x02, 0x02, {A(0x05)}, {A(0x03)}},
        {"MOV direct into", 0xA8, {0x30}, 0x00, 0x4B, {Ram(0x30, 0x4B)}, {}},
        {"CJNE #data, greater:", 0xB8, {0x10, 0x08}, 0x20, 0x20, {}, {}, CY, 0, 8},
        {"XCH A,", 0xC8, {}, 0x03, 0x01, {A(0x01)}, {A(0x03)}},
        {"DJNZ", 0xD8, {0xFE}, 0x02, 0x01, {}, {}, 0, 0, -2},
        {"MOV A, from", 0xE8, {}, 0x03, 0x03, {}, {A(0x03)}},
        {"MOV A into", 0xF8, {}, 0x00, 0x11, {A(0x11)}, {}},
    };
    for (const Family& family : families)
        AddFamily(cases, family);
    return cases;
}

void ExpectSame(const Machine& actual, const Machine& expected) {
    EXPECT_EQ(actual.cpu.pc, expected.cpu.pc) << "PC";
    EXPECT_EQ(actual.cpu.acc, expected.cpu.acc) << "A";
    EXPECT_EQ(actual.cpu.b, expected.cpu.b) << "B";
    EXPECT_EQ(std::bitset<8>(actual.psw), std::bitset<8>(expected.psw))
        << "PSW: CY AC F0 RS OV - P";
    EXPECT_EQ(actual.cpu.sp, expected.cpu.sp) << "SP";
    EXPECT_EQ(actual.cpu.dptr, expected.cpu.dptr) << "DPTR";
    EXPECT_EQ(actual.cpu.dps, expected.cpu.dps) << "DPS";
    EXPECT_EQ(actual.cpu.mpage, expected.cpu.mpage) << "MPAGE";
    for (unsigned at = 0; at < actual.cpu.ram.size(); ++at)
        EXPECT_EQ(actual.cpu.ram[at], expected.cpu.ram[at]) << "RAM " << at;
    for (unsigned at = 0; at < actual.bus.sfr.size(); ++at)
        EXPECT_EQ(actual.bus.sfr[at], expected.bus.sfr[at]) << "SFR " << at + 0x80;
    EXPECT_TRUE(actual.bus.xdata == expected.bus.xdata) << "external data memory";
}

TEST(Cpu8051Test, EveryInstructionGivesItsExpectedResult) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        Machine before;
        for (unsigned at = 0; at < before.cpu.ram.size(); ++at)
            before.cpu.ram[at] = Pattern(at, 0x11);
        before.cpu.pc = c.origin;
        before.psw = 0;
        std::copy(c.code.begin(), c.code.end(), before.bus.code.begin() + c.origin);
        for (const Cell& cell : c.given)
            Apply(before, cell);

        Machine after = before;
        Cpu8051 cpu(after.bus);
        cpu.State() = before.cpu;
        cpu.State().psw = before.psw & ~P;
        const uint8_t pswBefore = cpu.Psw();
        cpu.Step();
        after.cpu = cpu.State();
        after.psw = cpu.Psw();

        Machine expected = before;
        expected.cpu.pc = static_cast<uint16_t>(c.origin + c.code.size());
        expected.psw = pswBefore;
        for (const Cell& cell : c.expect)
            Apply(expected, cell);
        ExpectSame(after, expected);
    }
}

TEST(Cpu8051Test, TheTableHasEveryOpcode) {
    std::bitset<256> covered;
    for (const Case& c : Cases())
        covered.set(c.code.front());
    for (unsigned opcode = 0; opcode < 256; ++opcode)
        EXPECT_TRUE(covered.test(opcode)) << "no case for opcode " << std::hex << opcode;
}

// A small program memory: fetches past its end read 0, a NOP, and MOVC reads 0 there too.
class SmallBus : public TableBus {
public:
    std::span<const uint8_t> ProgramMemory() const override {
        return std::span<const uint8_t>(code).first(16);
    }
};

TEST(Cpu8051Test, BeyondProgramMemoryEverythingReadsZero) {
    SmallBus bus;
    bus.code[15] = 0x04; // INC A
    Cpu8051 cpu(bus);
    cpu.State().pc = 15;
    cpu.Step();
    cpu.Step();
    EXPECT_EQ(cpu.State().pc, 17);
    EXPECT_EQ(cpu.State().acc, 1);
    bus.code[16] = 0x55;
    cpu.State().acc = 0;
    cpu.State().dptr[0] = 16;
    cpu.State().pc = 0;
    bus.code[0] = 0x93; // MOVC A,@A+DPTR
    cpu.Step();
    EXPECT_EQ(cpu.State().acc, 0);
}

TEST(Cpu8051Test, ResetKeepsInternalRam) {
    TableBus bus;
    Cpu8051 cpu(bus);
    cpu.State().ram[0x42] = 0x99;
    cpu.State().pc = 0x1234;
    cpu.State().acc = 1;
    cpu.State().sp = 0x60;
    cpu.State().psw = 0x18;
    cpu.State().dps = 1;
    cpu.Reset();
    Cpu8051State expected;
    expected.ram[0x42] = 0x99;
    EXPECT_EQ(cpu.State(), expected);
}

} // namespace
} // namespace podtest
