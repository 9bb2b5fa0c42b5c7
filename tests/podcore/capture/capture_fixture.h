// A capture state over a ring of its own, fed with the two byte streams that carry chosen
// samples, the way the streaming threads feed it from completed transfers.
#pragma once

#include "capture/capture_arming.h"
#include "capture/capture_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace capture_test {

constexpr uint32_t kBlock = podcore::capture::kBlockSamples;
constexpr uint32_t kMainTransferBytes = 65536;
constexpr uint32_t kAuxTransferBytes = 32768;

// The pod's two streams for a run of samples: bytes 0 and 1 of every sample on the main
// stream, byte 2 of every second sample on the auxiliary stream.
struct Streams {
    std::vector<uint8_t> main;
    std::vector<uint8_t> aux;
};
Streams StreamsOf(const std::vector<uint32_t>& samples);

// Varied samples that survive the auxiliary packet fix-up unchanged: the first two bytes of
// every 512-byte packet repeat its third byte. Byte 3 is 0, as in every captured sample.
std::vector<uint32_t> VariedSamples(uint32_t count, uint32_t seed);

// `count` samples of 0 with the given samples set to `value`.
std::vector<uint32_t> SamplesWith(uint32_t count, std::initializer_list<uint32_t> indexes,
                                  uint32_t value);

// Feeds block `block` of the streams to `state` as whole transfers: its two main transfers, then
// its auxiliary transfer (which completes the block). Returns what the aux store returned.
uint32_t FeedBlockTo(podcore::capture::CaptureState& state, const Streams& streams,
                     uint32_t block);

class CaptureFixture : public ::testing::Test {
protected:
    // Allocates a ring of `blocks` blocks, every sample preset to `fill`.
    void MakeRing(uint32_t blocks, uint32_t fill = 0xFF);
    // Arms a capture over the whole ring; `steps` holds {mask, value} pairs.
    void Arm(int32_t stepCount, const std::vector<uint32_t>& steps, uint32_t postTrigger);
    // Feeds block `block` of the streams as whole transfers: its two main transfers, then its
    // auxiliary transfer (which completes the block). Returns what the aux store returned.
    uint32_t FeedBlock(const Streams& streams, uint32_t block);
    void FeedBlocks(const Streams& streams, uint32_t blocks);
    // Feeds both whole streams in transfers of the given sizes, each list taken in turn. The
    // stream that has filled fewer samples goes next (the auxiliary one on a tie when
    // `auxFirst`), so neither runs a whole ring ahead and overwrites what the other still needs.
    void FeedInterleaved(const Streams& streams, const std::vector<uint32_t>& mainSizes,
                         const std::vector<uint32_t>& auxSizes, bool auxFirst);

    std::vector<uint32_t> memory;
    podcore::buffer::State buffer;
    podcore::capture::CaptureState state{buffer};
};

} // namespace capture_test
