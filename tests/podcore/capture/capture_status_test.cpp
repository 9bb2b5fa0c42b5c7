// The status read-outs: the pod's status byte and the capture's progress.
#include "capture_fixture.h"

#include "capture/capture_status.h"
#include "capture/pod_status.h"
#include "exports/podcore.h"
#include "unanswered_status.h"

#include <gtest/gtest.h>

#include <deque>

namespace capture_test {
namespace {

using namespace podcore::capture;

TEST(FullPercent, ShareOfThePostTriggerSamplesStored) {
    struct Case {
        uint8_t triggered;
        uint32_t total, remaining;
        uint8_t full;
    };
    const Case cases[] = {
        {1, 196608, 131072, 33},
        {1, 196608, 0, 100},
        {1, 196608, 196608, 0},
        {1, 262144, 65536, 75},
        {0, 196608, 0, 0},          // before the trigger, whatever the counters hold
        {1, 0, 0, 0},               // nothing asked for after the trigger
        {1, 65536, 131072, 0},      // counters that do not fit together
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FullPercent(c.triggered, c.total, c.remaining), c.full)
            << int{c.triggered} << " " << c.total << " " << c.remaining;
    }
}

class ScriptedStatus : public StatusByteSource {
public:
    explicit ScriptedStatus(std::deque<std::optional<uint8_t>> reads) : reads_(std::move(reads)) {}
    std::optional<uint8_t> ReadStatusByte() override {
        if (reads_.empty())
            return std::nullopt;
        const std::optional<uint8_t> byte = reads_.front();
        reads_.pop_front();
        return byte;
    }

private:
    std::deque<std::optional<uint8_t>> reads_;
};

TEST(PollStatusByte, LastByteDeliveredWinsAndNoAnswerIsCC) {
    struct Case {
        std::deque<std::optional<uint8_t>> reads;
        uint8_t status;
    };
    const Case cases[] = {
        {{0x07, 0x00}, 0x00},
        {{0x00, 0x07}, 0x07},
        {{0x00, std::nullopt}, 0x00},
        {{std::nullopt, 0x55}, 0x55},
        {{std::nullopt, std::nullopt}, 0xCC},
    };
    for (const Case& c : cases) {
        ScriptedStatus source(c.reads);
        EXPECT_EQ(PollStatusByte(&source, 2), c.status);
    }
    EXPECT_EQ(PollStatusByte(nullptr, 2), kStatusNoAnswer);
}

class ProgressTest : public CaptureFixture {};

TEST_F(ProgressTest, ReportsTheCaptureAsItGoes) {
    MakeRing(4);
    Arm(1, {0x01, 0x01}, 65536);
    const Streams streams = StreamsOf(SamplesWith(4 * kBlock, {1000}, 0x01));
    CaptureProgress progress = ReadProgress(state);
    EXPECT_EQ(progress.running, 1);
    EXPECT_EQ(progress.triggered, 0);
    EXPECT_EQ(progress.full, 0);

    FeedBlocks(streams, 2);
    progress = ReadProgress(state);
    EXPECT_EQ(progress.triggered, 1);
    EXPECT_EQ(progress.trigger, 1001);
    EXPECT_EQ(progress.startP, 0);
    EXPECT_EQ(progress.endP, 131072);
    EXPECT_EQ(progress.full, 33);

    FeedBlock(streams, 2);
    FeedBlock(streams, 3);
    progress = ReadProgress(state);
    EXPECT_EQ(progress.running, 0);
    EXPECT_EQ(progress.full, 100);
}

// Without a pod: a pod that does not answer, the outputs from the capture state, and a stop that
// has nothing to wait for.
TEST(CaptureExports, WorkWithoutAPod) {
    uint32_t* samples = MakeBuffer(131072);
    ASSERT_NE(samples, nullptr);
    DemoData();
    const uint64_t generation = podcore::buffer::Buffer().generation;

    EXPECT_EQ(StopCapture(), 1);
    EXPECT_EQ(static_cast<uint32_t>(LoggedData(70000)), 0xCCCCCCCCu + 70000);
    EXPECT_EQ(podcore::buffer::Buffer().generation, generation);

    podtest::ExpectUnansweredIdleStatus();
    EXPECT_EQ(CaptureStatus(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0xCC);
    EXPECT_EQ(SingleCaptureStatus(), 0xCC);
    DeleteBuffer(samples);
}

} // namespace
} // namespace capture_test
