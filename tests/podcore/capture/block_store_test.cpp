// How the two streams' bytes land in the samples, whatever the transfers' lengths.
#include "capture_fixture.h"

#include "capture/block_store.h"
#include "capture/stream_watch.h"

#include <gtest/gtest.h>

namespace capture_test {
namespace {

using namespace podcore::capture;

class BlockStoreTest : public CaptureFixture {};

TEST_F(BlockStoreTest, StreamsMergeIntoBytesZeroToTwoAndByteThreeIsCleared) {
    MakeRing(2, 0xFFFFFFFF);
    Arm(kTriggerOff, {}, kBlock);
    const std::vector<uint32_t> samples = VariedSamples(2 * kBlock, 5);
    FeedBlocks(StreamsOf(samples), 2);
    EXPECT_EQ(memory, samples);
}

// The first two bytes of every 512-byte packet are replaced by its third.
TEST_F(BlockStoreTest, AuxPacketHeadsTakeTheThirdByte) {
    MakeRing(1, 0);
    Arm(kTriggerOff, {}, kBlock);
    std::vector<uint8_t> aux(kAuxTransferBytes, 0x77);
    for (uint32_t packet : {0u, 512u}) {
        aux[packet] = 0x10;
        aux[packet + 1] = 0x11;
        aux[packet + 2] = 0x12;
        aux[packet + 3] = 0x13;
    }
    StoreAuxBlock(state, aux.data(), kAuxTransferBytes);
    for (uint32_t group : {0u, 1024u}) {
        SCOPED_TRACE(group);
        const uint8_t expected[] = {0x12, 0x12, 0x12, 0x12, 0x12, 0x12, 0x13, 0x13, 0x77};
        for (uint32_t i = 0; i < std::size(expected); ++i)
            EXPECT_EQ(memory[group + i] >> 16, expected[i]) << "sample " << i;
    }
}

// A packet of fewer than three bytes has no sample byte to take its head from.
TEST_F(BlockStoreTest, ShortAuxTransfers) {
    struct Case {
        std::vector<uint8_t> bytes;
        std::vector<uint8_t> byteTwo; // of the samples written
    };
    const Case cases[] = {
        {{0x10}, {0x10, 0x10}},
        {{0x10, 0x11}, {0x10, 0x10, 0x11, 0x11}},
        {{0x10, 0x11, 0x12}, {0x12, 0x12, 0x12, 0x12, 0x12, 0x12}},
    };
    for (const Case& c : cases) {
        MakeRing(1, 0);
        Arm(kTriggerOff, {}, kBlock);
        StoreAuxBlock(state, c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        for (uint32_t i = 0; i < c.byteTwo.size(); ++i)
            EXPECT_EQ(memory[i] >> 16, c.byteTwo[i]) << c.bytes.size() << " bytes, sample " << i;
        EXPECT_EQ(memory[c.byteTwo.size()], 0u);
    }
}

// Whatever the lengths of the transfers (odd, short, longer than a block, crossing the end of
// the ring), the samples, the trigger and the bookkeeping come out as with whole transfers.
TEST_F(BlockStoreTest, TransferLengthsDoNotShiftTheStreams) {
    constexpr uint32_t kBlocks = 3;
    constexpr uint32_t kFed = 5 * kBlock; // wraps the 3-block ring
    // Step 1 matches byte 2 = 0xAA (set on one whole packet head), step 2 the low bytes 0x5A5A.
    const std::vector<uint32_t> steps = {0x00FF0000, 0x00AA0000, 0x0000FFFF, 0x00005A5A};
    std::vector<uint32_t> samples = VariedSamples(kFed, 6);
    for (uint32_t& sample : samples) {
        if ((sample & 0xFF0000) == 0xAA0000)
            sample ^= 0x10000;
    }
    for (uint32_t i = 0; i < 6; ++i)
        samples[3 * kBlock + 2048 + i] = (samples[3 * kBlock + 2048 + i] & 0xFFFF) | 0xAA0000;
    samples[4 * kBlock + 77] = (samples[4 * kBlock + 77] & 0xFF0000) | 0x5A5A;
    const Streams streams = StreamsOf(samples);

    // The post-trigger count outlasts the data, so every transfer is stored.
    constexpr uint32_t kPostTrigger = 16 * kBlock;
    MakeRing(kBlocks, 0);
    Arm(2, steps, kPostTrigger);
    FeedBlocks(streams, kFed / kBlock);
    const std::vector<uint32_t> wholeMemory = memory;
    const uint32_t triggerIndex = state.TriggerIndex;
    const uint32_t startIndex = state.StartIndex;
    const uint32_t endIndex = state.EndIndex;
    ASSERT_EQ(state.Triggered, 1);
    ASSERT_EQ(state.Running, 1);
    ASSERT_LT(triggerIndex, 2 * kBlock) << "the trigger comes after the ring wrapped";

    // Every transfer is shorter than the ring, so that no stream overwrites samples of a block
    // that the other has not filled yet.
    struct Case {
        const char* name;
        std::vector<uint32_t> mainSizes;
        std::vector<uint32_t> auxSizes; // multiples of a packet keep the packet heads in place
        bool auxFirst;
    };
    const Case cases[] = {
        {"odd main transfers", {1, 3, 65535, 7, 40001}, {32768}, false},
        {"one byte at a time, then big", {1, 1, 1, 200001}, {512, 1024, 65536}, true},
        {"longer than a block", {131073, 65537}, {65536, 512}, false},
        {"aux ahead by whole transfers", {65536}, {32768}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRing(kBlocks, 0);
        Arm(2, steps, kPostTrigger);
        FeedInterleaved(streams, c.mainSizes, c.auxSizes, c.auxFirst);
        EXPECT_EQ(state.TriggerIndex, triggerIndex);
        EXPECT_EQ(state.StartIndex, startIndex);
        EXPECT_EQ(state.EndIndex, endIndex);
        EXPECT_TRUE(memory == wholeMemory);
    }
}

// A block is processed by whichever store completes it; the aux store tells how many it did.
TEST_F(BlockStoreTest, BlocksAreProcessedOnceBothStreamsFilledThem) {
    MakeRing(4, 0);
    Arm(1, {0xFFFFFFFF, 0xDEADBEEF}, kBlock); // never matches: every block is processed
    const Streams streams = StreamsOf(VariedSamples(4 * kBlock, 7));
    StoreMainBlock(state, streams.main.data(), kMainTransferBytes);
    EXPECT_EQ(StoreAuxBlock(state, streams.aux.data(), kAuxTransferBytes), 0u)
        << "main has filled half the block";
    EXPECT_EQ(buffer.actualCaptureLength, 0u);
    StoreMainBlock(state, streams.main.data() + kMainTransferBytes, 3 * kMainTransferBytes);
    EXPECT_EQ(buffer.actualCaptureLength, kBlock) << "the main store completed block 0";
    EXPECT_EQ(StoreAuxBlock(state, streams.aux.data() + kAuxTransferBytes, kAuxTransferBytes), 1u);
    EXPECT_EQ(buffer.actualCaptureLength, 2 * kBlock);
    EXPECT_EQ(state.EndIndex, 2 * kBlock);
}

// The capture ends with block 1 of a full 2-block ring, while the auxiliary stream is already a
// block further: that block's bytes must not reach block 0, which holds the oldest samples.
TEST_F(BlockStoreTest, AStreamAheadDoesNotOverwriteTheOldestSamplesWhenTheCaptureEnds) {
    MakeRing(2, 0);
    Arm(0, {}, kBlock); // triggers on block 0, then the count runs until block 1 ends it
    const std::vector<uint32_t> samples = VariedSamples(3 * kBlock, 11);
    const Streams streams = StreamsOf(samples);
    FeedBlock(streams, 0);
    const uint8_t* aux = streams.aux.data() + kAuxTransferBytes;
    EXPECT_EQ(StoreAuxBlock(state, aux, kAuxTransferBytes), 0u);
    EXPECT_EQ(StoreAuxBlock(state, aux + kAuxTransferBytes, kAuxTransferBytes), 0u)
        << "block 2's aux bytes wait for block 1";
    const uint8_t* main = streams.main.data() + 2 * kMainTransferBytes;
    StoreMainBlock(state, main, kMainTransferBytes);
    StoreMainBlock(state, main + kMainTransferBytes, kMainTransferBytes);
    EXPECT_EQ(state.Running, 0);
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), samples.begin()))
        << "blocks 0 and 1 hold exactly what was sampled";
}

// One stream stopped while the other streams on: what is held for the one ahead stays bounded,
// and beyond the bound the capture is broken and stores nothing more.
TEST_F(BlockStoreTest, AStreamFarAheadBreaksTheCaptureInsteadOfBeingHeldWithoutBound) {
    constexpr uint32_t kAhead = 40; // blocks, past the lead the store holds for
    const Streams streams = StreamsOf(VariedSamples(kAhead * kBlock, 12));
    for (const bool mainAhead : {true, false}) {
        SCOPED_TRACE(mainAhead ? "main ahead" : "aux ahead");
        MakeRing(64, 0);
        Arm(1, {0xFFFFFFFF, 0xDEADBEEF}, kBlock);
        const std::vector<uint8_t>& ahead = mainAhead ? streams.main : streams.aux;
        const uint32_t transfer = mainAhead ? kMainTransferBytes : kAuxTransferBytes;
        for (uint32_t at = 0; at < ahead.size(); at += transfer) {
            if (mainAhead)
                StoreMainBlock(state, ahead.data() + at, transfer);
            else
                StoreAuxBlock(state, ahead.data() + at, transfer);
        }
        EXPECT_TRUE(state.streamsApart);
        EXPECT_EQ(state.Running, 1) << "the application ends it with its break message";
        const size_t held = mainAhead ? state.positions.heldMain.Size()
                                      : state.positions.heldAux.Size();
        const uint64_t bytesPerBlock = mainAhead ? 2 * kBlock : kBlock / 2;
        EXPECT_LE(held, (kMaxStreamLead / kBlock + 1) * bytesPerBlock);

        const size_t before = held;
        const std::vector<uint32_t> ring = memory;
        StoreMainBlock(state, streams.main.data(), kMainTransferBytes);
        StoreAuxBlock(state, streams.aux.data(), kAuxTransferBytes);
        EXPECT_EQ(mainAhead ? state.positions.heldMain.Size() : state.positions.heldAux.Size(),
                  before);
        EXPECT_EQ(memory, ring);
    }
}

TEST_F(BlockStoreTest, NothingIsStoredOnceRunningIsCleared) {
    MakeRing(1, 0x5A5A);
    Arm(kTriggerOff, {}, kBlock);
    state.Running = 0;
    const Streams streams = StreamsOf(VariedSamples(kBlock, 8));
    FeedBlock(streams, 0);
    EXPECT_EQ(memory, std::vector<uint32_t>(kBlock, 0x5A5A));
}

} // namespace
} // namespace capture_test
