// Small generated bus waveforms for the decoder tests and benchmarks: a capture is built sample
// by sample, each line holding its level until it is changed.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace waveforms {

class Capture {
public:
    explicit Capture(uint32_t levels = 0) : levels_(levels) {}

    void Set(uint32_t mask, bool high) { levels_ = high ? levels_ | mask : levels_ & ~mask; }

    // Appends the current levels for `samples` sample times; fractions carry over, so a run
    // of fractional bit times stays in step with the clock.
    void Hold(double samples);

    // Sets a line, then holds the levels.
    void SetAndHold(uint32_t mask, bool high, double samples) {
        Set(mask, high);
        Hold(samples);
    }

    const std::vector<uint32_t>& Samples() const { return samples_; }

private:
    uint32_t levels_;
    double time_ = 0;
    std::vector<uint32_t> samples_;
};

// Async serial: the line idles high; a low start bit, the data bits, an optional parity bit and
// the stop bit follow, each `samplesPerBit` long.
struct SerialFrame {
    int dataBits = 8;
    bool msbFirst = false;
    std::optional<bool> parityBit;
    bool stopBitHigh = true;
};
void AppendSerial(Capture& capture, uint32_t line, uint8_t value, double samplesPerBit,
                  const SerialFrame& frame = {});

// 2-wire: SDA changes only while SCL is low, except for start and stop conditions. A byte is
// eight data bits, most significant first, and the acknowledge bit (low = ACK).
struct TwoWireLines {
    uint32_t sda;
    uint32_t scl;
    double halfBit; // samples per clock half period
};
void AppendStart(Capture& capture, const TwoWireLines& lines); // from idle or after a byte
void AppendByte(Capture& capture, const TwoWireLines& lines, uint8_t value, bool acknowledged);
void AppendStop(Capture& capture, const TwoWireLines& lines);

// SPI: each bit puts the data on both lines, then the clock makes its leading and its trailing
// transition, so either edge samples the bit. The clock idles low unless `clockIdlesHigh`; a
// byte takes 16 half periods.
struct SpiLines {
    uint32_t clock;
    uint32_t dataOut;
    uint32_t dataIn;
    double halfPeriod;
    bool clockIdlesHigh = false;
    bool msbFirst = true;
};
// `bits` below 8 sends only the first bits of the byte, a transfer cut short.
void AppendSpiByte(Capture& capture, const SpiLines& lines, uint8_t dataOut, uint8_t dataIn,
                   int bits = 8);

} // namespace waveforms
