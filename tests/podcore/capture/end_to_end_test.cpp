// Captures from StartCapture to the last CaptureStatus against a virtual pod that counts: the
// samples must arrive in order with no gap, and the trigger and ring arithmetic must hold.
#include "stream_fixture.h"

#include "capture/capture_session.h"
#include "capture/speed_test.h"

#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono;
using podcore::usb::sim::VirtualPod;

class EndToEndTest : public StreamFixture {};

struct RateCase {
    uint32_t rateCode;
    uint8_t divisor;
};
constexpr RateCase kRates[] = {{17, 47}, {27, 23}, {87, 5}, {167, 2}};

TEST_F(EndToEndTest, WithoutATriggerTheWholeBufferFillsWithTheCountFromTheStart) {
    OpenPod(2);
    for (const RateCase rate : kRates) {
        SCOPED_TRACE(rate.rateCode);
        const CaptureOutcome outcome = Run(rate.rateCode, {}, 0, PostTriggerFor(Length(), 50));
        ASSERT_EQ(outcome.started, 1);
        WithPod([&](VirtualPod& p) { EXPECT_EQ(p.SamplingDivisor(), rate.divisor); });
        EXPECT_FALSE(outcome.broke);
        EXPECT_EQ(outcome.running, 0) << "the capture ends by itself";
        EXPECT_EQ(outcome.triggered, 1);
        EXPECT_EQ(outcome.trigger, 0);
        const std::vector<uint32_t> samples = Samples();
        EXPECT_EQ(samples[0], 0u);
        EXPECT_EQ(FirstBreakInCount(samples), samples.size());
        EXPECT_EQ(LoggedData(Length() - 1), static_cast<int32_t>(Length() - 1));
    }
}

TEST_F(EndToEndTest, ATriggerAfterTheRingWrappedKeepsTheRequestedPreTriggerShare) {
    OpenPod(2);
    for (const RateCase rate : kRates) {
        SCOPED_TRACE(rate.rateCode);
        const uint32_t offset = 40000;
        const uint32_t match = 2 * kSamplesPerBlock + offset; // in the third block streamed
        const uint32_t post = PostTriggerFor(Length(), 50);
        const CaptureOutcome outcome = Run(rate.rateCode, {kCountMask, match}, 1, post);
        ASSERT_EQ(outcome.started, 1);
        EXPECT_FALSE(outcome.broke);
        EXPECT_EQ(outcome.triggered, 1);
        // The trigger block, then post / 65536 blocks; the buffer ends with the last of them.
        const uint32_t after = post + (kSamplesPerBlock - 1 - offset);
        EXPECT_EQ(outcome.trigger, static_cast<int32_t>(Length() - after));
        const std::vector<uint32_t> samples = Samples();
        ASSERT_GT(outcome.trigger, 0);
        EXPECT_EQ(samples[outcome.trigger - 1], match) << "the index is one past the match";
        EXPECT_EQ(FirstBreakInCount(samples), samples.size());
    }
}

TEST_F(EndToEndTest, AnEarlyTriggerRunsOnUntilTheBufferIsFull) {
    OpenPod(4);
    const uint32_t match = 70000;
    const CaptureOutcome outcome = Run(87, {kCountMask, match}, 1, kSamplesPerBlock);
    ASSERT_EQ(outcome.started, 1);
    EXPECT_FALSE(outcome.broke);
    EXPECT_EQ(outcome.trigger, static_cast<int32_t>(match + 1));
    const std::vector<uint32_t> samples = Samples();
    EXPECT_EQ(samples[0], 0u) << "no sample before the trigger was overwritten";
    EXPECT_EQ(FirstBreakInCount(samples), samples.size());
}

// What the application shows with a virtual pod and its defaults: traffic on every line.
TEST_F(EndToEndTest, TheDefaultSignalCarriesTrafficOnTheModulesLines) {
    OpenPod(2);
    WithPod([](VirtualPod& p) { p.sampling.signal = podcore::usb::sim::Signal::Traffic; });
    const CaptureOutcome outcome = Run(27, {}, 0, kSamplesPerBlock);
    ASSERT_EQ(outcome.started, 1);
    EXPECT_FALSE(outcome.broke);
    const std::vector<uint32_t> samples = Samples();
    uint32_t changed = 0, high = ~0u;
    for (size_t i = 1; i < samples.size(); ++i) {
        changed |= samples[i] ^ samples[i - 1];
        high &= samples[i];
    }
    // P0..P15 and Sin, Sout all move; RES and VDD stay high.
    EXPECT_EQ(changed & 0x3FFFF, 0x3FFFFu);
    EXPECT_EQ(high & 0x180000, 0x180000u);
}

TEST_F(EndToEndTest, StopMidCaptureEndsPromptlyWithTheRingInTimeOrder) {
    OpenPod(4);
    const uint32_t never = 0x1000000; // the count has 24 bits
    const CaptureOutcome outcome = Run(17, {never, never}, 1, kSamplesPerBlock, milliseconds(700));
    ASSERT_EQ(outcome.started, 1);
    ASSERT_FALSE(outcome.broke) << "the pod lost data: the count has a gap";
    EXPECT_EQ(outcome.running, 1) << "stopped by the caller, not by itself";
    EXPECT_LT(outcome.took, milliseconds(700 + 1000)) << outcome.took.count() << " ms";
    EXPECT_EQ(outcome.triggered, 0);
    ASSERT_GT(outcome.endP, 0);
    // Once the ring wrapped, the block being written at the stop is the last one, part old.
    const bool wrapped = outcome.endP == static_cast<int32_t>(Length());
    std::vector<uint32_t> samples = Samples();
    samples.resize(wrapped ? Length() - kSamplesPerBlock : outcome.endP);
    EXPECT_EQ(FirstBreakInCount(samples), samples.size());
    uint8_t running = 1;
    CaptureStatus(nullptr, &running, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(running, 0);
}

TEST_F(EndToEndTest, RequestsOutsideWhatTheEngineCanDoAreRefusedBeforeThePodIsTouched) {
    OpenPod(2);
    const std::vector<uint32_t> steps(2 * 513, 0);
    struct Case {
        const char* what;
        uint32_t clocking;
        int32_t stepCount;
        uint32_t length;
    };
    const Case cases[] = {
        {"external clock", 4, 0, 2 * kSamplesPerBlock},
        {"too many steps", 2, 513, 2 * kSamplesPerBlock},
        {"step count below -1", 2, -2, 2 * kSamplesPerBlock},
        {"longer than the buffer", 2, 0, 3 * kSamplesPerBlock},
        {"not whole blocks", 2, 0, kSamplesPerBlock + 100},
        {"empty ring", 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim->ClearRequests();
        EXPECT_EQ(StartCapture(27, c.clocking, steps.data(), c.stepCount, nullptr, c.length,
                               kSamplesPerBlock),
                  0);
        EXPECT_TRUE(sim->Requests().empty());
    }
}

TEST_F(EndToEndTest, ASecondStartWhileStreamingIsRefusedAndLeavesTheFirstRunning) {
    OpenPod(2);
    ASSERT_EQ(StartCapture(17, 2, nullptr, -1, nullptr, Length(), kSamplesPerBlock), 1);
    EXPECT_EQ(StartCapture(17, 2, nullptr, -1, nullptr, Length(), kSamplesPerBlock), 0);
    uint8_t running = 0;
    EXPECT_EQ(CaptureStatus(nullptr, &running, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(running, 1);
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_EQ(StartCapture(17, 2, nullptr, -1, nullptr, Length(), kSamplesPerBlock), 1)
        << "once stopped, the next capture starts";
}

TEST_F(EndToEndTest, StopCaptureWithNothingRunningReturnsAtOnce) {
    OpenPod(1);
    const auto begin = steady_clock::now();
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_EQ(StopCapture(), 1);
    EXPECT_LT(steady_clock::now() - begin, milliseconds(100));
}

TEST_F(EndToEndTest, APodThatNeverSaysReadyFailsTheStartInsteadOfHanging) {
    OpenPod(1);
    WithPod([](VirtualPod& p) { p.faults.silentEndpoints = {0x81}; });
    const auto begin = steady_clock::now();
    EXPECT_EQ(StartCapture(27, 2, nullptr, 0, nullptr, Length(), kSamplesPerBlock), 0);
    EXPECT_LT(steady_clock::now() - begin, podcore::capture::kReadyWait + seconds(2));
    uint8_t running = 1;
    CaptureStatus(nullptr, &running, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(StopCapture(), 1);
}

TEST_F(EndToEndTest, AnUnknownRateCodeSamplesAtTwentyFourMillion) {
    OpenPod(1);
    ASSERT_EQ(StartCapture(100, 2, nullptr, -1, nullptr, Length(), kSamplesPerBlock), 1);
    WithPod([](VirtualPod& p) { EXPECT_EQ(p.SamplingDivisor(), 1); });
    StopCapture();
}

TEST_F(EndToEndTest, StatusExportsReadThePodsStatusByte) {
    OpenPod(1);
    EXPECT_EQ(SingleCaptureStatus(), 0xCC) << "no firmware runs yet";
    ASSERT_EQ(StartCapture(27, 2, nullptr, -1, nullptr, Length(), kSamplesPerBlock), 1);
    EXPECT_EQ(SingleCaptureStatus(), 0);
    WithPod([](VirtualPod& p) { p.faults.statusBreak = true; });
    EXPECT_EQ(SingleCaptureStatus(), 1);
    StopCapture();
}

TEST_F(EndToEndTest, TestItNeedsABufferOfAtLeastOneBlock) {
    OpenPod(0);
    EXPECT_EQ(podcore::capture::TestRate(27, milliseconds(10)), 0);
    EXPECT_EQ(TestIt(27), 0) << "fails at once, without the five seconds of streaming";
}

TEST_F(EndToEndTest, SpeedTestFindsTheFastestRateTheBusCarries) {
    // 12 MB/s carries 4 M samples per second (10 MB/s) but not 6 M (15 MB/s).
    OpenPod(1);
    WithPod([](VirtualPod& p) { p.sampling.busBytesPerSecond = 12e6; });
    EXPECT_EQ(podcore::capture::FastestRate(milliseconds(300)), 47);
    EXPECT_EQ(Length(), kSamplesPerBlock);
    EXPECT_EQ(podcore::buffer::Buffer().actualCaptureLength, 0u);
}

TEST_F(EndToEndTest, ATrialAtAnUnknownRateCodeReturnsThatCode) {
    OpenPod(1);
    WithPod([](VirtualPod& p) {
        p.sampling.busBytesPerSecond = 200e6;
        p.sampling.timeScale = kPodTimeScale / 10;
    });
    EXPECT_EQ(podcore::capture::TestRate(100, milliseconds(300)), 100);
}

} // namespace
} // namespace capture_test
