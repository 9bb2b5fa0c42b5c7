// Putting the ring in time order at the end of a capture.
#include "capture_fixture.h"

#include "capture/capture_stop.h"
#include "capture/ring_unroll.h"

#include <gtest/gtest.h>

namespace capture_test {
namespace {

using namespace podcore::capture;

// Every sample carries its block and its place in it, so any misplaced sample shows.
std::vector<uint32_t> TaggedBlocks(uint32_t blocks) {
    std::vector<uint32_t> samples(size_t{blocks} * kBlock);
    for (uint32_t i = 0; i < samples.size(); ++i)
        samples[i] = i;
    return samples;
}

TEST(RotateBlocksLeft, EveryBlockEndsAtItsPositionMinusTheOldest) {
    struct Case {
        uint32_t blocks, oldest;
    };
    // One cycle (4,1), two cycles of two (4,2), two of three (6,2), and so on.
    const Case cases[] = {{4, 2}, {6, 2}, {4, 1}, {5, 2}, {6, 4}, {7, 6}, {6, 3}, {1, 0},
                          {3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.blocks << " blocks, oldest " << c.oldest);
        std::vector<uint32_t> samples = TaggedBlocks(c.blocks);
        RotateBlocksLeft(samples.data(), c.blocks, c.oldest);
        for (uint32_t p = 0; p < c.blocks; ++p) {
            const uint32_t to = (p + c.blocks - c.oldest) % c.blocks;
            for (uint32_t i = 0; i < kBlock; i += 4099)
                ASSERT_EQ(samples[to * kBlock + i], p * kBlock + i) << "block " << p;
            ASSERT_EQ(samples[to * kBlock + kBlock - 1], p * kBlock + kBlock - 1) << "block " << p;
        }
    }
}

class UnrollRingTest : public CaptureFixture {
protected:
    void SetUpRing(uint32_t blocks, uint32_t startIndex, uint32_t endIndex, uint32_t trigger) {
        MakeRing(blocks);
        memory = TaggedBlocks(blocks);
        buffer.samples = memory.data();
        state.StartIndex = startIndex;
        state.EndIndex = endIndex;
        state.TriggerIndex = trigger;
    }
};

TEST_F(UnrollRingTest, MovesTheOldestBlockToTheFrontAndTheTriggerWithIt) {
    struct Case {
        uint32_t trigger, triggerAfter;
    };
    // Before the oldest block: it moves up by the K = 2 newer blocks; else down by O = 2.
    for (const Case& c : {Case{70000, 201072}, Case{140000, 8928}, Case{0, 131072},
                          Case{262144, 131072}}) {
        SCOPED_TRACE(c.trigger);
        SetUpRing(4, 131072, 65536, c.trigger);
        UnrollRing(state);
        EXPECT_EQ(state.TriggerIndex, c.triggerAfter);
        EXPECT_EQ(state.StartIndex, 0u);
        EXPECT_EQ(state.EndIndex, 262144u);
        const uint32_t oldBlockAt[] = {2, 3, 0, 1};
        for (uint32_t p = 0; p < 4; ++p)
            EXPECT_EQ(memory[p * kBlock + 5], oldBlockAt[p] * kBlock + 5);
    }
}

TEST_F(UnrollRingTest, RingThatNeverWrappedIsLeftAlone) {
    SetUpRing(4, 0, 196608, 1001);
    UnrollRing(state);
    EXPECT_EQ(memory, TaggedBlocks(4));
    EXPECT_EQ(state.EndIndex, 196608u);
    EXPECT_EQ(state.TriggerIndex, 1001u);
}

// Were the buffer made smaller between a capture and its stop, its start index would point past
// the end; nothing is moved then.
TEST_F(UnrollRingTest, StartIndexBeyondTheBufferMovesNothing) {
    SetUpRing(2, 196608, 65536, 5);
    UnrollRing(state);
    EXPECT_EQ(memory, TaggedBlocks(2));
}

TEST_F(UnrollRingTest, EndStoppedCaptureUnrollsOnceAndOnlyAfterACapture) {
    SetUpRing(4, 131072, 65536, 70000);
    const uint64_t generation = buffer.generation;
    EndStoppedCapture(state);
    EXPECT_EQ(memory, TaggedBlocks(4)) << "nothing armed: nothing to unroll";
    EXPECT_EQ(buffer.generation, generation);

    Arm(1, {0x01, 0x01}, kBlock);
    memory = TaggedBlocks(4);
    buffer.samples = memory.data();
    state.StartIndex = 131072;
    state.TriggerIndex = 70000;
    EndStoppedCapture(state);
    EXPECT_EQ(memory[5], 2 * kBlock + 5);
    EXPECT_EQ(state.TriggerIndex, 201072u);
    EXPECT_GT(buffer.generation, generation) << "readers learn that the samples changed";
    EXPECT_FALSE(state.stopPending);

    const std::vector<uint32_t> unrolled = memory;
    state.StartIndex = 131072;
    EndStoppedCapture(state);
    EXPECT_EQ(memory, unrolled) << "a second stop does not rotate again";
}

} // namespace
} // namespace capture_test
