// Every fault the virtual pod can inject, in the middle of a capture: each must end with a
// clean result (a reported break or a refused start, never wrong data reported as good) and
// must not hang the threads or StopCapture.
#include "stream_fixture.h"

#include "capture/stream_watch.h"

#include <gmock/gmock.h>

#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono;
using podcore::usb::sim::VirtualPod;

class StreamFaultTest : public StreamFixture {
protected:
    // Starts a capture that never triggers, lets it stream, injects the fault and runs on
    // until the pod reports trouble or `limit` passed.
    template <typename Fault>
    CaptureOutcome RunWithFault(Fault fault, milliseconds limit = seconds(6)) {
        const uint32_t never = 0x1000000;
        std::thread injector([&] {
            std::this_thread::sleep_for(milliseconds(150));
            fault();
        });
        const CaptureOutcome outcome = Run(27, {never, never}, 1, kSamplesPerBlock, limit);
        injector.join();
        return outcome;
    }

    // A capture after the fault was cleared works again.
    void ExpectCleanCaptureAfterwards() {
        const CaptureOutcome outcome = Run(27, {}, 0, kSamplesPerBlock);
        ASSERT_EQ(outcome.started, 1);
        EXPECT_FALSE(outcome.broke);
        const std::vector<uint32_t> samples = Samples();
        EXPECT_EQ(FirstBreakInCount(samples), samples.size());
    }
};

TEST_F(StreamFaultTest, ATransferTimeOutIsAbortedAndShowsAsABreak) {
    OpenPod(2);
    const uint32_t never[] = {0x1000000, 0x1000000};
    testing::internal::CaptureStdout();
    ASSERT_EQ(StartCapture(27, 2, never, 1, nullptr, Length(), kSamplesPerBlock), 1);
    std::this_thread::sleep_for(milliseconds(150));
    // Longer than the main stream's time-out; the capture is not stopped meanwhile, since a
    // stop ends a pass without waiting out the transfers.
    WithPod([](VirtualPod& p) { p.faults.silentEndpoints = {0x88}; });
    std::this_thread::sleep_for(milliseconds(700));
    WithPod([](VirtualPod& p) { p.faults.silentEndpoints.clear(); });
    uint8_t running = 0;
    const int32_t status =
        CaptureStatus(nullptr, &running, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(StopCapture(), 1);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(running, 1);
    EXPECT_NE(status, 0) << "the samples lost while nothing moved are a break";
    EXPECT_THAT(printed, testing::HasSubstr("Aborted\n"));
    ExpectCleanCaptureAfterwards();
}

// A pod that answers its status endpoint with 0 but sends no samples: the capture reports a
// break of its own after two silent seconds, and the stop does not wait out the transfers.
TEST_F(StreamFaultTest, SilentStreamsBreakTheCaptureAndStopPromptly) {
    OpenPod(2);
    WithPod([](VirtualPod& p) { p.faults.silentStreams = true; });
    const CaptureOutcome outcome = Run(27, {}, 0, kSamplesPerBlock, seconds(5));
    ASSERT_EQ(outcome.started, 1);
    EXPECT_EQ(outcome.status, podcore::capture::kStatusNoSamples);
    EXPECT_EQ(outcome.running, 1);
    EXPECT_TRUE(outcome.broke);
    EXPECT_GE(outcome.took, podcore::capture::kNoSampleLimit);

    WithPod([](VirtualPod& p) { p.faults.silentStreams = false; });
    const uint32_t never[] = {0x1000000, 0x1000000};
    ASSERT_EQ(StartCapture(27, 2, never, 1, nullptr, Length(), kSamplesPerBlock), 1);
    WithPod([](VirtualPod& p) { p.faults.silentEndpoints = {0x86, 0x88}; });
    std::this_thread::sleep_for(milliseconds(300));
    const auto stopBegin = steady_clock::now();
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_LT(steady_clock::now() - stopBegin, seconds(1)) << "both streams in a long wait";
    WithPod([](VirtualPod& p) { p.faults.silentEndpoints.clear(); });
    ExpectCleanCaptureAfterwards();
}

TEST_F(StreamFaultTest, ShortAndOddLengthTransfersKeepTheCountWhole) {
    OpenPod(2);
    // Thousands of small transfers a second would need a machine to itself: the pod samples at
    // a quarter of its speed (a sixteenth in sanitized builds).
    WithPod([](VirtualPod& p) { p.sampling.timeScale = kPodTimeScale / 4; });
    for (const uint32_t bytes : {4095u, 1001u, 32769u}) {
        SCOPED_TRACE(bytes);
        WithPod([&](VirtualPod& p) { p.faults.shortTransferBytes = bytes; });
        const CaptureOutcome outcome = Run(17, {}, 0, kSamplesPerBlock);
        ASSERT_EQ(outcome.started, 1);
        EXPECT_FALSE(outcome.broke);
        EXPECT_EQ(outcome.running, 0);
        const std::vector<uint32_t> samples = Samples();
        EXPECT_EQ(samples[0], 0u);
        EXPECT_EQ(FirstBreakInCount(samples), samples.size());
    }
}

TEST_F(StreamFaultTest, AStatusBreakEndsTheCaptureWithABreak) {
    OpenPod(2);
    const CaptureOutcome outcome =
        RunWithFault([&] { WithPod([](VirtualPod& p) { p.faults.statusBreak = true; }); });
    ASSERT_EQ(outcome.started, 1);
    EXPECT_TRUE(outcome.broke);
    EXPECT_EQ(outcome.status, 1);
    WithPod([](VirtualPod& p) { p.faults.statusBreak = false; });
    ExpectCleanCaptureAfterwards();
}

TEST_F(StreamFaultTest, APodThatStopsAnsweringReadsAsNoAnswerAndStopsPromptly) {
    OpenPod(2);
    const CaptureOutcome outcome =
        RunWithFault([&] { WithPod([](VirtualPod& p) { p.faults.unresponsive = true; }); });
    ASSERT_EQ(outcome.started, 1);
    EXPECT_EQ(outcome.status, 0xCC);
    // Two status reads of 1 s each, the stop within a stream time-out, two more reads.
    EXPECT_LT(outcome.took, seconds(6) / kPodTimeScale);
}

TEST_F(StreamFaultTest, RemovalMidCaptureReadsAsNoAnswerAndStopsPromptly) {
    OpenPod(2);
    const CaptureOutcome outcome = RunWithFault([&] { sim->Remove(pod); });
    ASSERT_EQ(outcome.started, 1);
    EXPECT_EQ(outcome.status, 0xCC);
    EXPECT_LT(outcome.took, seconds(2));
    EXPECT_EQ(StartCapture(27, 2, nullptr, 0, nullptr, Length(), kSamplesPerBlock), 0)
        << "a removed pod does not start";
}

TEST_F(StreamFaultTest, AFailedFirmwareLoadRefusesTheStartButLoadsTheSteps) {
    OpenPod(2);
    WithPod([](VirtualPod& p) { p.faults.failFirmwareLoad = true; });
    const uint32_t steps[] = {0xFF, 0x12};
    const auto begin = steady_clock::now();
    EXPECT_EQ(StartCapture(27, 2, steps, 1, nullptr, Length(), kSamplesPerBlock), 0);
    EXPECT_LT(steady_clock::now() - begin, seconds(1));
    EXPECT_EQ(podcore::buffer::Buffer().actualCaptureLength, 0u);
    EXPECT_EQ(StopCapture(), 1);
    WithPod([](VirtualPod& p) { p.faults.failFirmwareLoad = false; });
    ExpectCleanCaptureAfterwards();
}

TEST_F(StreamFaultTest, AFullSpeedPortCannotCarryEvenTheSlowestRate) {
    OpenPod(2, true);
    const CaptureOutcome outcome = Run(17, {}, 0, kSamplesPerBlock, seconds(6));
    ASSERT_EQ(outcome.started, 1);
    EXPECT_TRUE(outcome.broke);
}

TEST_F(StreamFaultTest, StartWithoutAPodIsRefused) {
    OpenPod(2);
    ClosePod();
    EXPECT_EQ(StartCapture(27, 2, nullptr, 0, nullptr, Length(), kSamplesPerBlock), 0);
    EXPECT_EQ(SingleCaptureStatus(), 0xCC);
    EXPECT_EQ(CaptureStatus(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0xCC);
}

} // namespace
} // namespace capture_test
