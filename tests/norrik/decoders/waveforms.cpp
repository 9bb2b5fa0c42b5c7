#include "waveforms.h"

#include <cmath>

namespace waveforms {

void Capture::Hold(double samples) {
    time_ += samples;
    const auto until = static_cast<size_t>(std::llround(time_));
    if (until > samples_.size())
        samples_.resize(until, levels_);
}

void AppendSerial(Capture& capture, uint32_t line, uint8_t value, double samplesPerBit,
                  const SerialFrame& frame) {
    auto bit = [&](bool high) { capture.SetAndHold(line, high, samplesPerBit); };
    bit(false);
    for (int i = 0; i < frame.dataBits; ++i) {
        const int place = frame.msbFirst ? frame.dataBits - 1 - i : i;
        bit(((value >> place) & 1) != 0);
    }
    if (frame.parityBit)
        bit(*frame.parityBit);
    bit(frame.stopBitHigh);
    capture.Set(line, true);
}

void AppendStart(Capture& capture, const TwoWireLines& lines) {
    // After a byte the clock is low: raise SDA, then SCL, before pulling SDA down.
    capture.SetAndHold(lines.sda, true, lines.halfBit);
    capture.SetAndHold(lines.scl, true, lines.halfBit);
    capture.SetAndHold(lines.sda, false, lines.halfBit);
    capture.SetAndHold(lines.scl, false, lines.halfBit);
}

void AppendByte(Capture& capture, const TwoWireLines& lines, uint8_t value, bool acknowledged) {
    auto clockPulse = [&](bool sda) {
        capture.SetAndHold(lines.sda, sda, lines.halfBit);
        capture.SetAndHold(lines.scl, true, lines.halfBit);
        capture.Set(lines.scl, false);
    };
    for (int place = 7; place >= 0; --place)
        clockPulse(((value >> place) & 1) != 0);
    clockPulse(!acknowledged);
}

void AppendStop(Capture& capture, const TwoWireLines& lines) {
    capture.SetAndHold(lines.sda, false, lines.halfBit);
    capture.SetAndHold(lines.scl, true, lines.halfBit);
    capture.SetAndHold(lines.sda, true, lines.halfBit);
}

void AppendSpiByte(Capture& capture, const SpiLines& lines, uint8_t dataOut, uint8_t dataIn,
                   int bits) {
    // The data is steady from a quarter period before the leading transition to a quarter
    // period after the trailing one.
    for (int i = 0; i < bits; ++i) {
        const int place = lines.msbFirst ? 7 - i : i;
        capture.Set(lines.dataOut, ((dataOut >> place) & 1) != 0);
        capture.Set(lines.dataIn, ((dataIn >> place) & 1) != 0);
        capture.Hold(lines.halfPeriod / 2);
        capture.SetAndHold(lines.clock, !lines.clockIdlesHigh, lines.halfPeriod);
        capture.SetAndHold(lines.clock, lines.clockIdlesHigh, lines.halfPeriod / 2);
    }
}

} // namespace waveforms
