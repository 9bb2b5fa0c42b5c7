#include "usb/sim/signal_source.h"

#include <string_view>

namespace podcore::usb::sim {

namespace {

// The traffic repeats every 4 ms; all timings are in ticks of the 48 MHz clock.
constexpr uint32_t kPeriodTicks = 192'000;
constexpr uint32_t kUs = 48;

constexpr uint32_t kScl = 1u << 0;
constexpr uint32_t kSda = 1u << 1;
constexpr uint32_t kSck = 1u << 2;
constexpr uint32_t kMosi = 1u << 3;
constexpr uint32_t kMiso = 1u << 4;
constexpr uint32_t kSelect = 1u << 5; // active low
constexpr uint32_t kClock = 1u << 6;
constexpr uint32_t kPwm = 1u << 7;
constexpr uint32_t kSin = 1u << 16;
constexpr uint32_t kSout = 1u << 17;
constexpr uint32_t kRes = 1u << 19;
constexpr uint32_t kVdd = 1u << 20;

class Lines {
public:
    explicit Lines(std::vector<uint32_t>& ticks) : ticks_(ticks) {}

    void Set(uint32_t line, bool high, uint32_t from, uint32_t to) {
        for (uint32_t t = from; t < to && t < kPeriodTicks; ++t)
            ticks_[t] = high ? ticks_[t] | line : ticks_[t] & ~line;
    }

private:
    std::vector<uint32_t>& ticks_;
};

// 8N1 at 115200 baud, least significant bit first.
void Serial(Lines& lines, uint32_t line, uint32_t at, std::string_view text) {
    constexpr double kBitTicks = SignalSource::kClockHz / 115200.0;
    double t = at;
    for (const char c : text) {
        const uint32_t frame = 0x200u | uint32_t{static_cast<uint8_t>(c)} << 1; // start 0, stop 1
        for (int bit = 0; bit < 10; ++bit, t += kBitTicks)
            lines.Set(line, (frame >> bit) & 1, static_cast<uint32_t>(t),
                      static_cast<uint32_t>(t + kBitTicks));
    }
}

// A 100 kHz write of two bytes to address 0x50 with every byte acknowledged.
void TwoWire(Lines& lines, uint32_t at) {
    constexpr uint32_t kBit = 10 * kUs;
    const uint8_t bytes[] = {0x50 << 1, 0x10, 0x42};
    lines.Set(kSda, false, at, at + kBit / 2); // start: SDA falls while SCL is high
    lines.Set(kScl, false, at + kBit / 2, at + kBit);
    uint32_t t = at + kBit;
    for (const uint8_t byte : bytes) {
        for (int bit = 8; bit >= 0; --bit, t += kBit) {
            const bool high = bit > 0 && ((byte >> (bit - 1)) & 1); // the ninth bit is the ACK
            lines.Set(kSda, high, t, t + kBit);
            lines.Set(kScl, false, t, t + kBit / 2);
        }
    }
    lines.Set(kSda, false, t, t + kBit / 2); // stop: SDA rises while SCL is high
    lines.Set(kScl, false, t, t + kBit / 4);
}

// Mode 0 at 1 MHz: data changes while SCK is low and is taken on the rising edge.
void Spi(Lines& lines, uint32_t at) {
    constexpr uint32_t kBit = kUs;
    const uint8_t out[] = {0x9F, 0x53, 0x50, 0x49};
    const uint8_t in[] = {0xFF, 0xC2, 0x20, 0x17};
    lines.Set(kSelect, false, at, at + kBit * 34);
    uint32_t t = at + kBit;
    for (int n = 0; n < 4; ++n) {
        for (int bit = 7; bit >= 0; --bit, t += kBit) {
            lines.Set(kMosi, (out[n] >> bit) & 1, t, t + kBit);
            lines.Set(kMiso, (in[n] >> bit) & 1, t, t + kBit);
            lines.Set(kSck, true, t + kBit / 2, t + kBit);
        }
    }
}

std::vector<uint32_t> TrafficPeriod() {
    std::vector<uint32_t> ticks(kPeriodTicks, kScl | kSda | kSelect | kSin | kSout | kRes | kVdd);
    Lines lines(ticks);
    for (uint32_t t = 0; t < kPeriodTicks; ++t) {
        ticks[t] |= (t / 750 & 0xFF) << 8; // P8..P15 count one full round per period
        if (t % 192 < 96)                  // 250 kHz clock
            ticks[t] |= kClock;
        const uint32_t ms = t / (1000 * kUs); // 1 kHz PWM, duty 20, 40, 60, 80 %
        if (t % (1000 * kUs) < (ms + 1) * 200 * kUs)
            ticks[t] |= kPwm;
    }
    TwoWire(lines, 100 * kUs);
    Spi(lines, 700 * kUs);
    Serial(lines, kSout, 900 * kUs, "Tarnwick\r\n");
    Serial(lines, kSin, 2400 * kUs, "OK\r\n");
    TwoWire(lines, 3000 * kUs);
    return ticks;
}

const std::vector<uint32_t>& Traffic() {
    static const std::vector<uint32_t> period = TrafficPeriod();
    return period;
}

} // namespace

SignalSource::SignalSource(Signal signal, uint32_t ticksPerSample)
    : signal_(signal), ticksPerSample_(ticksPerSample) {
    if (signal_ == Signal::Traffic)
        traffic_ = &Traffic();
}

void SignalSource::Fill(uint64_t first, uint32_t* out, uint32_t count) const {
    if (signal_ == Signal::Counting) {
        for (uint32_t i = 0; i < count; ++i)
            out[i] = static_cast<uint32_t>(first + i) & 0xFFFFFF;
        return;
    }
    const std::vector<uint32_t>& ticks = *traffic_;
    uint32_t phase = static_cast<uint32_t>(first * ticksPerSample_ % kPeriodTicks);
    for (uint32_t i = 0; i < count; ++i) {
        out[i] = ticks[phase];
        phase += ticksPerSample_;
        if (phase >= kPeriodTicks)
            phase -= kPeriodTicks;
    }
}

} // namespace podcore::usb::sim
