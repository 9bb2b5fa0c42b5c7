// The capture's store, merge and trigger path fed from memory: 268,435,456 samples through a
// 16,777,216-sample ring, as the two endpoints deliver them (two 64 KiB main transfers, then one
// 32 KiB auxiliary transfer per block), with a trigger that never matches so that every block
// is searched. Baselines: the 24 MS/s fastest rate, and memcpy of the same bytes into the ring.
#include "capture/block_store.h"
#include "capture/capture_arming.h"
#include "capture/capture_state.h"
#include "harness.h"

#include <cstring>
#include <vector>

namespace {

using namespace podcore;

constexpr uint32_t kRingSamples = 16'777'216;
constexpr uint64_t kStreamedSamples = 268'435'456;
constexpr uint32_t kMainTransfer = 65536;
constexpr uint32_t kAuxTransfer = 32768;
constexpr uint32_t kBlocksInRing = kRingSamples / capture::kBlockSamples;
constexpr uint32_t kLaps = kStreamedSamples / kRingSamples;

// One ring's worth of both streams; fed once per lap.
struct Streams {
    std::vector<uint8_t> main = std::vector<uint8_t>(size_t{kRingSamples} * 2);
    std::vector<uint8_t> aux = std::vector<uint8_t>(kRingSamples / 2);
    Streams() {
        uint32_t x = 12345;
        for (uint8_t& byte : main) {
            x = x * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(x >> 24);
        }
        for (uint8_t& byte : aux) {
            x = x * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(x >> 24);
        }
    }
};

// Calls feed(main transfer) twice and feed(aux transfer) once per block, lap after lap.
template <typename Main, typename Aux>
void ForEachTransfer(const Streams& streams, Main main, Aux aux) {
    for (uint32_t lap = 0; lap < kLaps; ++lap) {
        for (uint32_t block = 0; block < kBlocksInRing; ++block) {
            const uint8_t* mainBytes = streams.main.data() + size_t{block} * 2 * kMainTransfer;
            main(mainBytes, size_t{lap * kBlocksInRing + block} * 2);
            main(mainBytes + kMainTransfer, size_t{lap * kBlocksInRing + block} * 2 + 1);
            aux(streams.aux.data() + size_t{block} * kAuxTransfer, lap * kBlocksInRing + block);
        }
    }
}

} // namespace

int main() {
    const Streams streams;
    std::vector<uint32_t> ring(kRingSamples, 0xFF);
    buffer::State memory;
    memory.samples = ring.data();
    memory.bufferLength = kRingSamples;
    memory.allocatedLength = kRingSamples;
    capture::CaptureState state(memory);
    const uint32_t neverMatches[2] = {0xFFFFFFFF, 0xFFFFFFFF}; // byte 3 of a sample is 0
    const capture::CaptureRequest request{neverMatches, 1, kRingSamples, kRingSamples};

    const double store = bench::MedianSeconds(3, [&] {
        capture::LoadTriggerSteps(state, request);
        capture::ArmStreaming(state, request);
        ForEachTransfer(
            streams,
            [&](const uint8_t* bytes, size_t) {
                capture::StoreMainBlock(state, bytes, kMainTransfer);
            },
            [&](const uint8_t* bytes, size_t) {
                capture::StoreAuxBlock(state, bytes, kAuxTransfer);
            });
        state.stopPending = false;
        bench::Keep(ring[12345]);
    });
    if (state.Triggered != 0 || memory.actualCaptureLength != kRingSamples) {
        std::fprintf(stderr, "the store path did not search every block\n");
        return 1;
    }

    // The same bytes copied into the ring as they arrive, each stream filling its own running
    // stretch of the ring's memory.
    auto* ringBytes = reinterpret_cast<uint8_t*>(ring.data());
    constexpr size_t kRingBytes = size_t{kRingSamples} * 4;
    const double copy = bench::MedianSeconds(3, [&] {
        ForEachTransfer(
            streams,
            [&](const uint8_t* bytes, size_t index) {
                std::memcpy(ringBytes + index * kMainTransfer % kRingBytes, bytes, kMainTransfer);
            },
            [&](const uint8_t* bytes, size_t index) {
                std::memcpy(ringBytes + (index * kAuxTransfer + kRingBytes / 2) % kRingBytes,
                            bytes, kAuxTransfer);
            });
        bench::Keep(ring[12345]);
    });

    const double samplesPerSecond = kStreamedSamples / store;
    bench::Figure("store+merge+trigger, 268435456 samples", store * 1e3, "ms");
    bench::Figure("store+merge+trigger speed", samplesPerSecond / 1e6, "MS/s");
    bench::Figure("memcpy of the same 671088640 bytes", copy * 1e3, "ms");
    bench::Ratio("store speed / 24 MS/s", samplesPerSecond / 24e6, 20);
    bench::Figure("store speed / memcpy speed", copy / store, "ratio");
    return 0;
}
