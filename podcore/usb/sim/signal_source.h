// What the virtual pod sees on the module's lines, sample by sample, at its sample clock.
#pragma once

#include <cstdint>
#include <vector>

namespace podcore::usb::sim {

enum class Signal {
    // Protocol traffic: 2-wire on P0/P1, SPI on P2..P5, a clock on P6, PWM on P7, a slow count
    // on P8..P15, async serial on Sin and Sout, RES and VDD high.
    Traffic,
    // Sample n carries n in its low 24 bits: every gap or reordering shows.
    Counting,
};

class SignalSource {
public:
    static constexpr uint32_t kClockHz = 48'000'000;

    // `ticksPerSample` is divisor + 1: the sample clock is 48 MHz / ticksPerSample.
    SignalSource(Signal signal, uint32_t ticksPerSample);

    // Samples first .. first + count - 1.
    void Fill(uint64_t first, uint32_t* out, uint32_t count) const;

private:
    Signal signal_;
    uint32_t ticksPerSample_;
    const std::vector<uint32_t>* traffic_ = nullptr; // one period, a word per 48 MHz tick
};

} // namespace podcore::usb::sim
