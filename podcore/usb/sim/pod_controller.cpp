#include "usb/sim/pod_controller.h"

#include "usb/firmware/controller_map.h"
#include "usb/firmware/pod_board.h"
#include "usb/sim/word_bytes.h"

#include <algorithm>

namespace podcore::usb::sim {

namespace {
constexpr uint16_t kMainEndpoint = 8;
constexpr uint16_t kAuxEndpoint = 6;

bool Within(uint16_t address, uint16_t first, uint16_t bytes) {
    return address >= first && address - first < bytes;
}

std::optional<PortPins::Port> LatchPort(uint8_t address) {
    switch (address) {
    case SFR_IOA:
        return PortPins::A;
    case SFR_IOB:
        return PortPins::B;
    case SFR_IOC:
        return PortPins::C;
    case SFR_IOD:
        return PortPins::D;
    case SFR_IOE:
        return PortPins::E;
    default:
        return std::nullopt;
    }
}

std::optional<PortPins::Port> EnablePort(uint8_t address) {
    if (address < SFR_OEA || address > SFR_OEE)
        return std::nullopt;
    return static_cast<PortPins::Port>(address - SFR_OEA);
}
} // namespace

// The power-on values: 12 MHz CPU clock, the interface in ports mode on its internal 30 MHz clock.
PodController::PodController() : cpuControl_(0x02), interfaceConfig_(IFCONFIG_IFCLKSRC) {}

void PodController::Store(uint8_t& target, uint8_t value) {
    if (target == value)
        return;
    target = value;
    ++generation_;
}

void PodController::ChangedFromOutside() {
    ++generation_;
    if (listener_)
        listener_();
}

uint8_t PodController::ReadXdata(uint16_t address) {
    if (address < kProgramBytes)
        return program_[address];
    if (Within(address, XMEM_SCRATCH, XMEM_SCRATCH_BYTES))
        return scratch_[address - XMEM_SCRATCH];
    if (Within(address, XREG_EP1OUTBUF, EP1_BUFFER_BYTES))
        return endpoint1_.OutBuffer()[address - XREG_EP1OUTBUF];
    if (Within(address, XREG_EP1INBUF, EP1_BUFFER_BYTES))
        return endpoint1_.InBuffer()[address - XREG_EP1INBUF];
    return ReadRegister(address);
}

void PodController::WriteXdata(uint16_t address, uint8_t value) {
    if (address < kProgramBytes)
        Store(program_[address], value);
    else if (Within(address, XMEM_SCRATCH, XMEM_SCRATCH_BYTES))
        Store(scratch_[address - XMEM_SCRATCH], value);
    else if (Within(address, XREG_EP1OUTBUF, EP1_BUFFER_BYTES))
        Store(endpoint1_.OutBuffer()[address - XREG_EP1OUTBUF], value);
    else if (Within(address, XREG_EP1INBUF, EP1_BUFFER_BYTES))
        Store(endpoint1_.InBuffer()[address - XREG_EP1INBUF], value);
    else
        WriteRegister(address, value);
}

uint8_t PodController::FifoStatus(const SlaveFifo& fifo) const {
    return LowByte(fifo.Packets() << EPCS_NPAK_SHIFT) | (fifo.Full() ? EPCS_FULL : 0) |
           (fifo.Empty() ? EPCS_EMPTY : 0);
}

uint8_t PodController::ReadRegister(uint16_t address) const {
    const auto flags = [](const SlaveFifo& fifo) {
        return (fifo.Full() ? FIFOFLGS_FF : 0) | (fifo.Empty() ? FIFOFLGS_EF : 0);
    };
    switch (address) {
    case XREG_CPUCS:
        return cpuControl_;
    case XREG_IFCONFIG:
        return interfaceConfig_;
    case XREG_PINFLAGSAB:
        return flagsAB_;
    case XREG_EP1OUTCFG:
        return endpoint1_.outConfig;
    case XREG_EP1INCFG:
        return endpoint1_.inConfig;
    case XREG_EP6CFG:
        return fifo6_.Config();
    case XREG_EP8CFG:
        return fifo8_.Config();
    case XREG_EP6FIFOCFG:
        return fifo6_.FifoConfig();
    case XREG_EP8FIFOCFG:
        return fifo8_.FifoConfig();
    case XREG_EP6AUTOINLENH:
        return HighByte(fifo6_.AutoInLength());
    case XREG_EP6AUTOINLENL:
        return LowByte(fifo6_.AutoInLength());
    case XREG_EP8AUTOINLENH:
        return HighByte(fifo8_.AutoInLength());
    case XREG_EP8AUTOINLENL:
        return LowByte(fifo8_.AutoInLength());
    case XREG_EP1OUTBC:
        return endpoint1_.OutCount();
    case XREG_EP1INBC:
        return endpoint1_.InCount();
    case XREG_EP1OUTCS:
        return endpoint1_.OutBusy() ? EPCS_BUSY : 0;
    case XREG_EP1INCS:
        return endpoint1_.InBusy() ? EPCS_BUSY : 0;
    case XREG_EP6CS:
        return FifoStatus(fifo6_);
    case XREG_EP8CS:
        return FifoStatus(fifo8_);
    case XREG_EP6FIFOFLGS:
        return flags(fifo6_);
    case XREG_EP8FIFOFLGS:
        return flags(fifo8_);
    case XREG_EP6FIFOBCH:
        return HighByte(fifo6_.BytesHeld());
    case XREG_EP6FIFOBCL:
        return LowByte(fifo6_.BytesHeld());
    case XREG_EP8FIFOBCH:
        return HighByte(fifo8_.BytesHeld());
    case XREG_EP8FIFOBCL:
        return LowByte(fifo8_.BytesHeld());
    default:
        return 0;
    }
}

void PodController::WriteRegister(uint16_t address, uint8_t value) {
    const auto autoInLength = [value](const SlaveFifo& fifo, bool high) {
        return high ? WithHighByte(fifo.AutoInLength(), value)
                    : WithLowByte(fifo.AutoInLength(), value);
    };
    switch (address) {
    case XREG_CPUCS: // the reset bit belongs to the host
        Store(cpuControl_, value & ~CPUCS_8051RES);
        return;
    case XREG_IFCONFIG:
        Store(interfaceConfig_, value);
        return;
    case XREG_PINFLAGSAB:
        Store(flagsAB_, value);
        return;
    case XREG_FIFORESET:
        WriteFifoReset(value);
        break;
    case XREG_EP1OUTCFG:
        Store(endpoint1_.outConfig, value);
        return;
    case XREG_EP1INCFG:
        Store(endpoint1_.inConfig, value);
        return;
    case XREG_EP6CFG:
        fifo6_.SetConfig(value);
        break;
    case XREG_EP8CFG:
        fifo8_.SetConfig(value);
        break;
    case XREG_EP6FIFOCFG:
        fifo6_.SetFifoConfig(value);
        break;
    case XREG_EP8FIFOCFG:
        fifo8_.SetFifoConfig(value);
        break;
    case XREG_EP6AUTOINLENH:
    case XREG_EP6AUTOINLENL:
        fifo6_.SetAutoInLength(autoInLength(fifo6_, address == XREG_EP6AUTOINLENH));
        break;
    case XREG_EP8AUTOINLENH:
    case XREG_EP8AUTOINLENL:
        fifo8_.SetAutoInLength(autoInLength(fifo8_, address == XREG_EP8AUTOINLENH));
        break;
    case XREG_EP1OUTBC:
        endpoint1_.ArmOut();
        break;
    case XREG_EP1INBC:
        endpoint1_.ArmIn(value);
        break;
    default:
        return;
    }
    ++generation_; // the writes above act, whatever the value
}

// NAKALL is the value's top bit; the low bits name the one FIFO to empty, if any.
void PodController::WriteFifoReset(uint8_t value) {
    nakAll_ = (value & FIFORESET_NAKALL) != 0;
    if (SlaveFifo* fifo = FifoOf(value & FIFORESET_EP_MASK))
        fifo->Reset();
}

uint8_t PodController::ReadSfr(uint8_t address) {
    if (const auto port = LatchPort(address))
        return ports_.Read(*port);
    if (const auto port = EnablePort(address))
        return ports_.Enable(*port);
    switch (address) {
    case SFR_EP01STAT:
        return (endpoint1_.InBusy() ? EP01STAT_EP1INBSY : 0) |
               (endpoint1_.OutBusy() ? EP01STAT_EP1OUTBSY : 0);
    case SFR_EP2468STAT:
        return (fifo8_.Full() ? EP2468STAT_EP8FULL : 0) |
               (fifo8_.Empty() ? EP2468STAT_EP8EMPTY : 0) |
               (fifo6_.Full() ? EP2468STAT_EP6FULL : 0) |
               (fifo6_.Empty() ? EP2468STAT_EP6EMPTY : 0);
    case SFR_EP68FIFOFLGS:
        return (fifo8_.Full() ? EP68FIFOFLGS_EP8FF : 0) |
               (fifo8_.Empty() ? EP68FIFOFLGS_EP8EF : 0) |
               (fifo6_.Full() ? EP68FIFOFLGS_EP6FF : 0) | (fifo6_.Empty() ? EP68FIFOFLGS_EP6EF : 0);
    default:
        return 0;
    }
}

void PodController::WriteSfr(uint8_t address, uint8_t value) {
    if (const auto port = LatchPort(address)) {
        uint8_t latch = ports_.Latch(*port);
        Store(latch, value);
        ports_.WriteLatch(*port, latch);
    } else if (const auto port = EnablePort(address)) {
        uint8_t enable = ports_.Enable(*port);
        Store(enable, value);
        ports_.WriteEnable(*port, enable);
    }
}

bool PodController::HostWrite(uint16_t address, std::span<const uint8_t> bytes) {
    if (address + bytes.size() > kProgramBytes)
        return false;
    std::copy(bytes.begin(), bytes.end(), program_.begin() + address);
    ChangedFromOutside();
    return true;
}

bool PodController::HostRead(uint16_t address, std::span<uint8_t> bytes) {
    if (address + bytes.size() > kProgramBytes)
        return false;
    std::copy_n(program_.begin() + address, bytes.size(), bytes.begin());
    return true;
}

void PodController::HostWriteReset(uint8_t value) {
    held_ = (value & CPUCS_8051RES) != 0;
    if (held_) {
        ++holds_;
        ports_.Reset();
    }
    ChangedFromOutside();
}

std::optional<size_t> PodController::HostCommand(std::span<const uint8_t> packet) {
    const std::optional<size_t> taken = endpoint1_.HostOut(packet);
    if (taken)
        ChangedFromOutside();
    return taken;
}

std::optional<Endpoint1Buffers::Packet> PodController::HostStatus() {
    std::optional<Endpoint1Buffers::Packet> packet = endpoint1_.HostIn();
    if (packet)
        ChangedFromOutside();
    return packet;
}

bool PodController::HostTakePacket(uint8_t endpoint, std::vector<uint8_t>& packet) {
    SlaveFifo* fifo = FifoOf(endpoint);
    if (fifo == nullptr || nakAll_ || !fifo->TakePacket(packet))
        return false;
    ChangedFromOutside();
    return true;
}

bool PodController::RunPin() const {
    return ports_.Read(PortPins::A) & BOARD_RUN_MASK;
}

uint8_t PodController::DivisorPins() const {
    return ports_.Read(PortPins::C);
}

void PodController::SetOverflowPin(bool high) {
    ports_.Drive(PortPins::A, BOARD_OVERFLOW_MASK, high);
    ChangedFromOutside();
}

uint32_t PodController::InterfaceClockHz() const {
    constexpr uint8_t kDriven = IFCONFIG_IFCLKSRC | IFCONFIG_IFCLKOE;
    if ((interfaceConfig_ & kDriven) != kDriven)
        return 0;
    return interfaceConfig_ & IFCONFIG_3048MHZ ? 48'000'000 : 30'000'000;
}

size_t PodController::FrontEndWrite(uint8_t endpoint, const uint8_t* bytes, size_t count,
                                    bool wordWide) {
    const bool slaveFifo = (interfaceConfig_ & IFCONFIG_IFCFG_MASK) == IFCONFIG_SLAVE_FIFO &&
                           !(interfaceConfig_ & IFCONFIG_ASYNC);
    SlaveFifo* fifo = FifoOf(endpoint);
    if (!slaveFifo || fifo == nullptr)
        return 0;
    const size_t taken = fifo->Write(bytes, count, wordWide);
    if (taken > 0)
        ChangedFromOutside();
    return taken;
}

SlaveFifo* PodController::FifoOf(uint8_t endpoint) {
    switch (endpoint) {
    case kAuxEndpoint:
        return &fifo6_;
    case kMainEndpoint:
        return &fifo8_;
    default:
        return nullptr;
    }
}

const SlaveFifo* PodController::Fifo(uint8_t endpoint) const {
    return const_cast<PodController*>(this)->FifoOf(endpoint);
}

} // namespace podcore::usb::sim
