// DemoData over 67,108,864 samples against memset of the same memory.
#include "exports/podcore.h"
#include "harness.h"

#include <cstring>

int main() {
    constexpr uint32_t kSamples = 67'108'864;
    uint32_t* samples = MakeBuffer(kSamples);
    if (samples == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", kSamples);
        return 1;
    }
    const double fill = bench::MedianSeconds(7, [] { DemoData(); });
    const double plain = bench::MedianSeconds(7, [&] {
        std::memset(samples, 0x5A, size_t{kSamples} * 4);
        bench::Keep(samples[kSamples / 2]);
    });
    bench::Figure("DemoData 67108864 samples", fill * 1e3, "ms");
    bench::Figure("memset of the same memory", plain * 1e3, "ms");
    bench::Ratio("DemoData speed / memset speed", plain / fill, 0.5);
    DeleteBuffer(samples);
    return 0;
}
