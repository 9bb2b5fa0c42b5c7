// The first Zoom All redraw after a capture of 268,435,456 samples against a later redraw of the
// same view. The ring is filled through the capture's store path as the streaming threads fill
// it (two 64 KiB main transfers and one 32 KiB auxiliary transfer per block, a trigger that
// never matches, sixteen blocks past a full ring so that the stop rotates it) and closed by the
// stop. The capture leaves the caches cold, so the later redraw is timed twice: as it comes
// (warm) and after a pass over memory larger than the caches, the like-for-like baseline. For
// reference, the first redraw after a write that the readers must summarise themselves.
#include "capture/block_store.h"
#include "capture/capture_arming.h"
#include "capture/capture_session.h"
#include "capture/capture_state.h"
#include "exports/podcore.h"
#include "harness.h"
#include "quiet_stdout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using namespace podcore;

constexpr uint32_t kRingSamples = 268'435'456;
constexpr uint32_t kBlocksPastTheRing = 16;
constexpr uint32_t kPatternBlocks = 256; // the streams repeat after this many blocks
constexpr uint32_t kMainTransfer = 65536;
constexpr uint32_t kAuxTransfer = 32768;
constexpr uint32_t kColumns = 649;
constexpr int kRounds = 5;
constexpr size_t kEvictionBytes = size_t{256} << 20;

struct Streams {
    std::vector<uint8_t> main = std::vector<uint8_t>(size_t{kPatternBlocks} * 2 * kMainTransfer);
    std::vector<uint8_t> aux = std::vector<uint8_t>(size_t{kPatternBlocks} * kAuxTransfer);
    Streams() {
        uint32_t x = 99;
        for (std::vector<uint8_t>* stream : {&main, &aux}) {
            for (uint8_t& byte : *stream) {
                x = x * 1664525u + 1013904223u;
                byte = static_cast<uint8_t>(x >> 24);
            }
        }
    }
};

void Capture(capture::CaptureState& state, const Streams& streams) {
    const uint32_t neverMatches[2] = {0xFFFFFFFF, 0xFFFFFFFF}; // byte 3 of a sample is 0
    const capture::CaptureRequest request{neverMatches, 1, kRingSamples, kRingSamples};
    capture::LoadTriggerSteps(state, request);
    capture::ArmStreaming(state, request);
    const uint32_t blocks = kRingSamples / capture::kBlockSamples + kBlocksPastTheRing;
    for (uint32_t block = 0; block < blocks; ++block) {
        const uint32_t at = block % kPatternBlocks;
        const uint8_t* main = streams.main.data() + size_t{at} * 2 * kMainTransfer;
        capture::StoreMainBlock(state, main, kMainTransfer);
        capture::StoreMainBlock(state, main + kMainTransfer, kMainTransfer);
        capture::StoreAuxBlock(state, streams.aux.data() + size_t{at} * kAuxTransfer,
                               kAuxTransfer);
    }
    capture::StopStreaming(state);
}

// Zoom All: from 10 % of the buffer before sample 0, 1.2 x the buffer across the columns.
void Redraw(const uint32_t* buffer, std::array<std::vector<uint8_t>, 21>& rows) {
    const auto scale = static_cast<int32_t>(std::lround(1.2 * kRingSamples / kColumns));
    bench::QuietStdout quiet;
    ScaleDataToScreen(buffer, rows[0].data(), rows[1].data(), rows[2].data(), rows[3].data(),
                      rows[4].data(), rows[5].data(), rows[6].data(), rows[7].data(),
                      rows[8].data(), rows[9].data(), rows[10].data(), rows[11].data(),
                      rows[12].data(), rows[13].data(), rows[14].data(), rows[15].data(),
                      rows[16].data(), rows[17].data(), rows[18].data(), rows[19].data(),
                      rows[20].data(), -static_cast<int32_t>(kRingSamples / 10), kColumns,
                      scale, 0);
}

// Writes memory well beyond the caches, as the capture did before the first redraw.
void EvictCaches(std::vector<uint8_t>& scratch) {
    for (size_t i = 0; i < scratch.size(); i += 64)
        scratch[i] = static_cast<uint8_t>(scratch[i] + 1);
    bench::Keep(scratch[12345]);
}

} // namespace

int main() {
    uint32_t* buffer = MakeBuffer(kRingSamples);
    if (buffer == nullptr) {
        std::fprintf(stderr, "cannot allocate %u samples\n", kRingSamples);
        return 1;
    }
    const Streams streams;
    capture::CaptureState& state = capture::Capture();
    std::array<std::vector<uint8_t>, 21> rows;
    for (std::vector<uint8_t>& row : rows)
        row.assign(kColumns, 0);

    // Each capture's samples land in memory touched before, as in a program's second capture;
    // the first redraw after each is timed, on a machine shared with other work.
    Capture(state, streams);
    std::vector<double> firstTimes;
    for (int round = 0; round < kRounds; ++round) {
        Capture(state, streams);
        if (state.StartIndex != 0 || buffer::Buffer().actualCaptureLength != kRingSamples) {
            std::fprintf(stderr, "the capture did not fill and unroll the ring\n");
            return 1;
        }
        firstTimes.push_back(bench::MedianSeconds(1, [&] { Redraw(buffer, rows); }));
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    const double first = firstTimes[firstTimes.size() / 2];
    const std::array<std::vector<uint8_t>, 21> firstRows = rows;
    const double later = bench::MedianSeconds(9, [&] { Redraw(buffer, rows); });
    std::vector<uint8_t> scratch(kEvictionBytes, 1);
    std::vector<double> coldTimes;
    for (int i = 0; i < 9; ++i) {
        EvictCaches(scratch);
        coldTimes.push_back(bench::MedianSeconds(1, [&] { Redraw(buffer, rows); }));
    }
    std::sort(coldTimes.begin(), coldTimes.end());
    const double laterCold = coldTimes[coldTimes.size() / 2];
    if (rows != firstRows) {
        std::fprintf(stderr, "MISMATCH: the first and later redraws differ\n");
        return 1;
    }
    buffer::MarkWritten();
    const double unsummarised = bench::MedianSeconds(1, [&] { Redraw(buffer, rows); });
    if (rows != firstRows) {
        std::fprintf(stderr, "MISMATCH: the readers' own summary draws otherwise\n");
        return 1;
    }
    DeleteBuffer(buffer);

    bench::Figure("first redraw after a capture (median of 5)", first * 1e3, "ms");
    bench::Figure("later redraw, caches warm", later * 1e3, "ms");
    bench::Figure("later redraw, caches evicted", laterCold * 1e3, "ms");
    bench::Figure("first redraw after a write not summarised", unsummarised * 1e3, "ms");
    bench::Figure("first redraw / later redraw, caches warm", first / later, "ratio");
    bench::Figure("unsummarised first / later redraw, caches evicted", unsummarised / laterCold,
                  "ratio");
    bench::Ratio("first redraw / later redraw, caches evicted", first / laterCold, 2.0, false);
    return 0;
}
