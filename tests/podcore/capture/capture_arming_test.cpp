// What a capture request must satisfy, and the state it leaves for the streaming threads.
#include "capture_fixture.h"

#include "capture/capture_arming.h"

#include <gtest/gtest.h>

namespace capture_test {
namespace {

using namespace podcore::capture;

class ArmingTest : public CaptureFixture {};

TEST_F(ArmingTest, RefusesWhatTheRingCannotHold) {
    MakeRing(4);
    const std::vector<uint32_t> steps(2 * 513, 0);
    struct Case {
        const char* name;
        const uint32_t* steps;
        int32_t stepCount;
        uint32_t bufferLength;
        bool accepted;
    };
    const Case cases[] = {
        {"the whole buffer", steps.data(), 2, 4 * kBlock, true},
        {"part of the buffer", steps.data(), 2, kBlock, true},
        {"512 steps", steps.data(), 512, kBlock, true},
        {"no steps", nullptr, 0, kBlock, true},
        {"trigger off", nullptr, -1, kBlock, true},
        {"513 steps", steps.data(), 513, kBlock, false},
        {"step count -2", steps.data(), -2, kBlock, false},
        {"steps missing", nullptr, 1, kBlock, false},
        {"more than the buffer", steps.data(), 1, 5 * kBlock, false},
        {"not whole blocks", steps.data(), 1, 100000, false},
        {"one sample short", steps.data(), 1, kBlock - 1, false},
        {"empty ring", steps.data(), 1, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptable(state, {c.steps, c.stepCount, c.bufferLength, kBlock}), c.accepted)
            << c.name;
    }
}

TEST_F(ArmingTest, RefusesWithoutABufferAndWhileACaptureIsOpen) {
    EXPECT_FALSE(IsAcceptable(state, {nullptr, 0, kBlock, kBlock})) << "no buffer";
    MakeRing(2);
    Arm(0, {}, kBlock);
    EXPECT_FALSE(IsAcceptable(state, {nullptr, 0, kBlock, kBlock})) << "not stopped yet";
}

// A capture over part of the buffer shortens BufferLength; the allocation still bounds the next.
TEST_F(ArmingTest, TheAllocationNotTheLastCaptureBoundsTheRing) {
    MakeRing(4);
    const CaptureRequest small{nullptr, kTriggerOff, kBlock, kBlock};
    LoadTriggerSteps(state, small);
    ArmStreaming(state, small);
    EXPECT_EQ(buffer.bufferLength, kBlock);
    state.stopPending = false;
    EXPECT_TRUE(IsAcceptable(state, {nullptr, 0, 4 * kBlock, kBlock}));
    EXPECT_FALSE(IsAcceptable(state, {nullptr, 0, 5 * kBlock, kBlock}));
}

TEST_F(ArmingTest, ArmingClearsThePreviousCapture) {
    MakeRing(4);
    state.Triggered = 1;
    state.TriggerIndex = 7;
    state.StartIndex = 65536;
    state.EndIndex = 131072;
    state.StepIndex = 3;
    const std::vector<uint32_t> steps = {0xF0, 0x10, 0x0F, 0x01};
    const CaptureRequest request{steps.data(), 2, 2 * kBlock, 200000};
    LoadTriggerSteps(state, request);
    EXPECT_EQ(buffer.actualCaptureLength, 0u);
    EXPECT_EQ(state.StepIndex, 0);
    EXPECT_EQ(state.StepCount, 2);
    EXPECT_EQ(state.TriggerMasks[1], 0x0Fu);
    EXPECT_EQ(state.TriggerValues[1], 0x01u);
    ArmStreaming(state, request);
    EXPECT_EQ(state.Running, 1);
    EXPECT_EQ(state.Triggered, 0);
    EXPECT_EQ(state.TriggerIndex, 0u);
    EXPECT_EQ(state.StartIndex, 0u);
    EXPECT_EQ(state.EndIndex, 0u);
    EXPECT_EQ(state.PostTriggerTotal, 196608u) << "low 16 bits cleared";
    EXPECT_EQ(state.PostTriggerRemaining, 196608u);
    EXPECT_EQ(buffer.bufferLength, 2 * kBlock);
    EXPECT_TRUE(state.stopPending);
}

} // namespace
} // namespace capture_test
