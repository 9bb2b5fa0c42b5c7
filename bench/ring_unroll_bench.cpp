// UnrollRing of a 268,435,456-sample ring (4096 blocks) against memcpy of the same buffer: with
// the oldest block at 1365 (one cycle through all blocks) and at 2048 (2048 cycles of two, the
// most extra copies).
#include "capture/capture_state.h"
#include "capture/ring_unroll.h"
#include "harness.h"

#include <cstring>
#include <memory>

int main() {
    using namespace podcore;
    constexpr uint32_t kSamples = 268'435'456;
    constexpr size_t kBytes = size_t{kSamples} * 4;
    const auto ring = std::make_unique<uint32_t[]>(kSamples);
    const auto copy = std::make_unique<uint32_t[]>(kSamples);
    std::memset(ring.get(), 0x5A, kBytes);
    std::memset(copy.get(), 0xA5, kBytes);

    buffer::State memory;
    memory.samples = ring.get();
    memory.bufferLength = kSamples;
    capture::CaptureState state(memory);

    const double plain = bench::MedianSeconds(5, [&] {
        std::memcpy(copy.get(), ring.get(), kBytes);
        bench::Keep(copy[kSamples / 2]);
    });
    bench::Figure("memcpy of 268435456 samples", plain * 1e3, "ms");
    for (const uint32_t oldest : {1365u, 2048u}) {
        const double unroll = bench::MedianSeconds(5, [&] {
            state.StartIndex = oldest * capture::kBlockSamples;
            capture::UnrollRing(state);
            bench::Keep(ring[kSamples / 2]);
        });
        char name[64];
        std::snprintf(name, sizeof name, "UnrollRing, oldest block %u", oldest);
        bench::Figure(name, unroll * 1e3, "ms");
        std::snprintf(name, sizeof name, "UnrollRing speed / memcpy, oldest block %u", oldest);
        bench::Ratio(name, plain / unroll, 0.5);
    }
    return 0;
}
