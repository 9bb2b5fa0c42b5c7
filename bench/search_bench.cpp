// SearchForTrigger: a forward and a backward search across 2^24 samples against a plain AND/OR
// read of them, and the one-step backward search of the measurement under the mouse near the
// end of a 2^28-sample demo buffer.
#include "buffer/sample_buffer.h"
#include "exports/podcore.h"
#include "harness.h"
#include "plain_read.h"

#include <cstdio>

namespace {

double PlainRead(const uint32_t* samples, uint32_t count) {
    return bench::MedianSeconds(7, [&] { bench::PlainAndOrRead(samples, count); });
}

bool Check(const char* what, int32_t found, int32_t expected) {
    if (found == expected)
        return true;
    std::printf("MISMATCH: %s found %d, expected %d\n", what, found, expected);
    return false;
}

// Bit 0 stays high across the buffer but for one sample at the far end of each search.
bool AcrossTheBuffer() {
    constexpr uint32_t kSamples = 1u << 24;
    uint32_t* samples = MakeBuffer(kSamples);
    if (samples == nullptr)
        return false;
    const uint8_t bit0Low[2] = {0x01, 0x00};
    int32_t found = 0;

    samples[kSamples - 1] = 0xFE;
    podcore::buffer::MarkWritten();
    const double forward = bench::MedianSeconds(7, [&] {
        found = SearchForTrigger(bit0Low, 1, 0, 1);
    });
    bool ok = Check("forward", found, kSamples);

    samples[kSamples - 1] = 0xFF;
    samples[0] = 0xFE;
    podcore::buffer::MarkWritten();
    const double backward = bench::MedianSeconds(7, [&] {
        found = SearchForTrigger(bit0Low, 1, kSamples, 0);
    });
    ok = Check("backward", found, 1) && ok;

    const double plain = PlainRead(samples, kSamples);
    DeleteBuffer(samples);

    std::printf("-- %u samples, the match at the far end\n", kSamples);
    bench::Figure("forward search", forward * 1e3, "ms");
    bench::Figure("backward search, one step", backward * 1e3, "ms");
    bench::Figure("plain AND/OR read of the same samples", plain * 1e3, "ms");
    bench::Ratio("forward search speed / plain read", plain / forward, 0.5);
    bench::Ratio("backward search speed / plain read", plain / backward, 0.5);
    return ok;
}

// The measurement under the mouse: the start of the run of equal level around a sample near
// the end of the demo data, on signal 7 (runs of 128 samples).
bool UnderTheMouse() {
    constexpr uint32_t kSamples = 1u << 28;
    uint32_t* samples = MakeBuffer(kSamples);
    if (samples == nullptr)
        return false;
    DemoData();
    const uint32_t mouse = kSamples - 1000;
    const uint8_t level = samples[mouse] & 0x80;
    const uint8_t opposite[2] = {0x80, static_cast<uint8_t>(level ^ 0x80)};
    int32_t found = 0;
    const double backward = bench::MedianSeconds(101, [&] {
        found = SearchForTrigger(opposite, 1, mouse + 1, 0);
    });
    int32_t expected = static_cast<int32_t>(mouse);
    while ((samples[expected - 1] & 0x80) == level)
        --expected;
    const double plain = PlainRead(samples, mouse);
    DeleteBuffer(samples);

    std::printf("-- %u demo samples, mouse at sample %u\n", kSamples, mouse);
    bench::Figure("backward search, one step", backward * 1e6, "us");
    bench::Figure("plain read up to the mouse (the walk's work)", plain * 1e3, "ms");
    bench::Ratio("one-step backward search time / 1 ms", backward / 1e-3, 1.0, false);
    bench::Ratio("plain read to the mouse / backward search", plain / backward, 1.0);
    return Check("under the mouse", found, expected);
}

} // namespace

int main() {
    const bool across = AcrossTheBuffer();
    const bool mouse = UnderTheMouse();
    return across && mouse ? 0 : 1;
}
