// The trigger search, the post-trigger count-down and the ring bookkeeping, driven through the
// store operations with whole transfers.
#include "capture_fixture.h"

#include "capture/block_store.h"
#include "capture/capture_stop.h"

#include <gtest/gtest.h>

namespace capture_test {
namespace {

using namespace podcore::capture;

class BlockProcessingTest : public CaptureFixture {};

TEST_F(BlockProcessingTest, TriggerSteps) {
    struct Case {
        const char* name;
        std::vector<uint32_t> steps;
        std::vector<uint32_t> samples; // two blocks
        uint32_t stepIndexAfterFirstBlock;
        bool triggered;
        uint32_t triggerIndex;
        int32_t stepIndexAtEnd;
    };
    constexpr uint32_t n = 2 * kBlock;
    std::vector<uint32_t> twoSteps = SamplesWith(n, {65535}, 0x01);
    twoSteps[65536] = 0x02;
    std::vector<uint32_t> chunkEdge = SamplesWith(n, {63}, 0x01);
    chunkEdge[64] = 0x02;
    std::vector<uint32_t> bothOnOne = SamplesWith(n, {100}, 0x03);
    std::vector<uint32_t> bothThenSecond = bothOnOne;
    bothThenSecond[200] = 0x02;
    const Case cases[] = {
        {"first bit-0 sample at 70,000", {0x01, 0x01}, SamplesWith(n, {70000, 70005}, 0x01),
         0, true, 70001, 1},
        {"two steps across the block boundary", {0x01, 0x01, 0x02, 0x02}, twoSteps, 1, true,
         65537, 2},
        {"steps on consecutive samples", {0x01, 0x01, 0x02, 0x02}, chunkEdge, 2, true, 65, 2},
        {"a sample matching both steps counts for the first only", {0x01, 0x01, 0x02, 0x02},
         bothOnOne, 1, false, 0, 1},
        {"the second step matches a later sample", {0x01, 0x01, 0x02, 0x02}, bothThenSecond, 2,
         true, 201, 2},
        {"last step on the last sample of a block", {0xFF, 0x07},
         SamplesWith(n, {kBlock - 1}, 0x07), 1, true, kBlock, 1},
        {"mask 0 matches any sample", {0x00, 0x00}, SamplesWith(n, {}, 0), 1, true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRing(4);
        Arm(static_cast<int32_t>(c.steps.size() / 2), c.steps, 2 * kBlock);
        const Streams streams = StreamsOf(c.samples);
        FeedBlock(streams, 0);
        EXPECT_EQ(state.StepIndex, static_cast<int32_t>(c.stepIndexAfterFirstBlock));
        FeedBlock(streams, 1);
        EXPECT_EQ(state.Triggered, c.triggered ? 1 : 0);
        EXPECT_EQ(state.StepIndex, c.stepIndexAtEnd);
        if (c.triggered) {
            EXPECT_EQ(state.TriggerIndex, c.triggerIndex);
        }
    }
}

TEST_F(BlockProcessingTest, StepCountZeroTriggersOnTheFirstSample) {
    MakeRing(4);
    Arm(0, {}, 3 * kBlock);
    FeedBlock(StreamsOf(VariedSamples(kBlock, 1)), 0);
    EXPECT_EQ(state.Triggered, 1);
    EXPECT_EQ(state.TriggerIndex, 0u);
}

// 4 blocks, trigger in block 0, one block asked for after it: the count is raised so that the
// buffer fills, one block short; blocks 1 and 2 are counted, block 3 is written and ends it.
TEST_F(BlockProcessingTest, EarlyTriggerRaisesThePostTriggerCount) {
    MakeRing(4);
    Arm(1, {0x01, 0x01}, 65536);
    const std::vector<uint32_t> samples = SamplesWith(6 * kBlock, {1000}, 0x01);
    const Streams streams = StreamsOf(samples);

    FeedBlock(streams, 0);
    EXPECT_EQ(state.Triggered, 1);
    EXPECT_EQ(state.TriggerIndex, 1001u);
    EXPECT_EQ(state.PostTriggerTotal, 196608u);
    EXPECT_EQ(state.PostTriggerRemaining, 196608u);
    FeedBlock(streams, 1);
    FeedBlock(streams, 2);
    EXPECT_EQ(state.Running, 1);
    EXPECT_EQ(state.EndIndex, 196608u);
    EXPECT_EQ(state.PostTriggerRemaining, 65536u);
    FeedBlock(streams, 3);
    EXPECT_EQ(state.Running, 0);
    EXPECT_EQ(state.PostTriggerRemaining, 0u);
    EXPECT_EQ(state.EndIndex, 196608u) << "the last block is stored but not counted";
    EXPECT_EQ(state.StartIndex, 0u);
    EXPECT_EQ(buffer.actualCaptureLength, 4 * kBlock);

    // Transfers that complete after the end store nothing: the oldest samples survive.
    memory[0] = 0xABCD;
    FeedBlock(streams, 4);
    EXPECT_EQ(memory[0], 0xABCDu);
}

TEST_F(BlockProcessingTest, RingBookkeepingAcrossWraps) {
    MakeRing(4);
    Arm(1, {0xFFFFFFFF, 0xDEADBEEF}, kBlock); // never matches
    const Streams streams = StreamsOf(VariedSamples(7 * kBlock, 2));
    struct After {
        uint32_t endIndex, startIndex, actual;
    };
    const After expected[] = {
        {65536, 0, 65536},       {131072, 0, 131072},      {196608, 0, 196608},
        {0, 65536, 262144},      {65536, 131072, 262144},  {131072, 196608, 262144},
        {196608, 0, 262144},
    };
    for (uint32_t block = 0; block < 7; ++block) {
        SCOPED_TRACE(block);
        EXPECT_EQ(FeedBlock(streams, block), 1u);
        EXPECT_EQ(state.EndIndex, expected[block].endIndex);
        EXPECT_EQ(state.StartIndex, expected[block].startIndex);
        EXPECT_EQ(buffer.actualCaptureLength, expected[block].actual);
    }
    EXPECT_EQ(state.Running, 1);
}

// A trigger after the ring wrapped keeps the requested count and overwrites old samples; the
// unroll then puts the surviving blocks in time order with the trigger where its sample went.
TEST_F(BlockProcessingTest, TriggerAfterWrapThenUnroll) {
    MakeRing(4);
    Arm(1, {0xFFFF, 0x1234}, 2 * kBlock);
    std::vector<uint32_t> samples = VariedSamples(8 * kBlock, 3);
    for (uint32_t& sample : samples) {
        if ((sample & 0xFFFF) == 0x1234)
            sample ^= 1;
    }
    samples[4 * kBlock + 1000] = (samples[4 * kBlock + 1000] & ~0xFFFFu) | 0x1234;
    const Streams streams = StreamsOf(samples);
    FeedBlocks(streams, 7);
    EXPECT_EQ(state.Running, 0);
    EXPECT_EQ(state.PostTriggerTotal, 2 * kBlock) << "room was one block: no raise";
    EXPECT_EQ(state.TriggerIndex, 1001u);
    EXPECT_EQ(state.StartIndex, 3 * kBlock);
    EXPECT_EQ(state.EndIndex, 2 * kBlock);

    EndStoppedCapture(state);
    EXPECT_EQ(state.StartIndex, 0u);
    EXPECT_EQ(state.EndIndex, 4 * kBlock);
    EXPECT_EQ(state.TriggerIndex, kBlock + 1001);
    for (uint32_t i = 0; i < 4 * kBlock; ++i)
        ASSERT_EQ(memory[i], samples[3 * kBlock + i]) << "sample " << i;
}

// A post-trigger count under one block with a trigger after the wrap ends on the next block
// instead of counting down from zero round the 32-bit range.
TEST_F(BlockProcessingTest, PostTriggerCountBelowOneBlockEndsOnTheNextBlock) {
    MakeRing(4);
    Arm(1, {0x01, 0x01}, 1000);
    const Streams streams = StreamsOf(SamplesWith(6 * kBlock, {4 * kBlock + 5}, 0x01));
    FeedBlocks(streams, 5);
    EXPECT_EQ(state.Triggered, 1);
    EXPECT_EQ(state.PostTriggerTotal, 0u);
    EXPECT_EQ(state.Running, 1);
    FeedBlock(streams, 5);
    EXPECT_EQ(state.Running, 0);
    EXPECT_EQ(state.PostTriggerRemaining, 0u);
}

// A count of the whole ring or more would write the last block over the trigger block.
TEST_F(BlockProcessingTest, PostTriggerCountNeverReachesBackToTheTriggerBlock) {
    struct Case {
        uint32_t blocks;
        uint32_t postTrigger;
        uint32_t triggerBlock;
    };
    for (const Case c : {Case{2, 2 * kBlock, 0}, Case{4, 4 * kBlock, 5}, Case{1, kBlock, 0},
                         Case{1, kBlock, 2}}) {
        SCOPED_TRACE(testing::Message() << c.blocks << " blocks, trigger in " << c.triggerBlock);
        MakeRing(c.blocks);
        Arm(1, {0x01, 0x01}, c.postTrigger);
        const uint32_t match = c.triggerBlock * kBlock + 77;
        const Streams streams = StreamsOf(SamplesWith((c.triggerBlock + 8) * kBlock, {match}, 1));
        for (uint32_t block = 0; state.Running != 0; ++block)
            FeedBlock(streams, block);
        EXPECT_EQ(state.PostTriggerTotal, (c.blocks - 1) * kBlock);
        EndStoppedCapture(state);
        ASSERT_GT(state.TriggerIndex, 0u);
        EXPECT_EQ(memory[state.TriggerIndex - 1], 1u) << "the matching sample is still there";
    }
}

TEST_F(BlockProcessingTest, TriggerOffStoresWithoutBookkeeping) {
    MakeRing(1);
    Arm(kTriggerOff, {}, 32768);
    const std::vector<uint32_t> samples = VariedSamples(3 * kBlock, 4);
    FeedBlocks(StreamsOf(samples), 3);
    EXPECT_EQ(state.Running, 1) << "streaming without a trigger never ends by itself";
    EXPECT_EQ(state.Triggered, 0);
    EXPECT_EQ(state.EndIndex, 0u);
    EXPECT_EQ(state.StartIndex, 0u);
    EXPECT_EQ(buffer.actualCaptureLength, 0u);
    for (uint32_t i = 0; i < kBlock; ++i)
        ASSERT_EQ(memory[i], samples[2 * kBlock + i]) << "sample " << i;
}

} // namespace
} // namespace capture_test
