#include "capture_fixture.h"

#include "capture/block_store.h"

#include <algorithm>

namespace capture_test {

using namespace podcore::capture;

Streams StreamsOf(const std::vector<uint32_t>& samples) {
    Streams streams;
    for (size_t i = 0; i < samples.size(); ++i) {
        streams.main.push_back(static_cast<uint8_t>(samples[i]));
        streams.main.push_back(static_cast<uint8_t>(samples[i] >> 8));
        if (i % 2 == 0)
            streams.aux.push_back(static_cast<uint8_t>(samples[i] >> 16));
    }
    return streams;
}

std::vector<uint32_t> VariedSamples(uint32_t count, uint32_t seed) {
    auto mix = [seed](uint32_t n) {
        uint32_t x = (n + seed) * 2654435761u;
        return x ^ (x >> 15);
    };
    std::vector<uint32_t> samples(count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t auxByte = i / 2; // the byte's place in the aux stream
        if (auxByte % 512 < 2)
            auxByte += 2 - auxByte % 512;
        samples[i] = (mix(i) & 0xFFFF) | (mix(auxByte + 0x9E37) & 0xFF) << 16;
    }
    return samples;
}

std::vector<uint32_t> SamplesWith(uint32_t count, std::initializer_list<uint32_t> indexes,
                                  uint32_t value) {
    std::vector<uint32_t> samples(count, 0);
    for (uint32_t index : indexes)
        samples[index] = value;
    return samples;
}

void CaptureFixture::MakeRing(uint32_t blocks, uint32_t fill) {
    // A fresh ring closes whatever capture ran on the previous one.
    state.Running = 0;
    state.stopPending = false;
    memory.assign(size_t{blocks} * kBlock, fill);
    buffer.samples = memory.data();
    buffer.bufferLength = blocks * kBlock;
    buffer.allocatedLength = blocks * kBlock;
    buffer.actualCaptureLength = blocks * kBlock;
}

void CaptureFixture::Arm(int32_t stepCount, const std::vector<uint32_t>& steps,
                         uint32_t postTrigger) {
    const CaptureRequest request{steps.data(), stepCount, buffer.allocatedLength, postTrigger};
    ASSERT_TRUE(IsAcceptable(state, request));
    LoadTriggerSteps(state, request);
    ArmStreaming(state, request);
}

uint32_t FeedBlockTo(CaptureState& state, const Streams& streams, uint32_t block) {
    const uint8_t* main = streams.main.data() + size_t{block} * 2 * kMainTransferBytes;
    StoreMainBlock(state, main, kMainTransferBytes);
    StoreMainBlock(state, main + kMainTransferBytes, kMainTransferBytes);
    return StoreAuxBlock(state, streams.aux.data() + size_t{block} * kAuxTransferBytes,
                         kAuxTransferBytes);
}

uint32_t CaptureFixture::FeedBlock(const Streams& streams, uint32_t block) {
    return FeedBlockTo(state, streams, block);
}

void CaptureFixture::FeedBlocks(const Streams& streams, uint32_t blocks) {
    for (uint32_t block = 0; block < blocks; ++block)
        FeedBlock(streams, block);
}

void CaptureFixture::FeedInterleaved(const Streams& streams,
                                     const std::vector<uint32_t>& mainSizes,
                                     const std::vector<uint32_t>& auxSizes, bool auxFirst) {
    size_t mainAt = 0, auxAt = 0, mainTurn = 0, auxTurn = 0;
    while (mainAt < streams.main.size() || auxAt < streams.aux.size()) {
        const size_t mainFilled = mainAt / 2, auxFilled = auxAt * 2;
        const bool auxNext = auxAt < streams.aux.size() &&
                             (mainAt == streams.main.size() || auxFilled < mainFilled ||
                              (auxFilled == mainFilled && auxFirst));
        if (auxNext) {
            const auto size = static_cast<uint32_t>(std::min<size_t>(
                auxSizes[auxTurn++ % auxSizes.size()], streams.aux.size() - auxAt));
            StoreAuxBlock(state, streams.aux.data() + auxAt, size);
            auxAt += size;
        } else {
            const auto size = static_cast<uint32_t>(std::min<size_t>(
                mainSizes[mainTurn++ % mainSizes.size()], streams.main.size() - mainAt));
            StoreMainBlock(state, streams.main.data() + mainAt, size);
            mainAt += size;
        }
    }
}

} // namespace capture_test
