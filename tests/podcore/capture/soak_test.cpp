// 200 captures in a row with random buffer sizes, rates and trigger positions: every one must
// end by itself with the count whole and the trigger where it matched, and memory must not grow.
#include "stream_fixture.h"

#include <fstream>
#include <random>

namespace capture_test {
namespace {

using podcore::usb::sim::VirtualPod;

// Resident set size in bytes.
size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

class SoakTest : public StreamFixture {};

TEST_F(SoakTest, TwoHundredRandomCapturesInARow) {
    constexpr int kCaptures = 200;
    constexpr int kWarmUp = 20;
    // The faster rates keep the run short; the pod samples at half speed for the same reason.
    const uint32_t rates[] = {47, 67, 87, 127, 167};
    OpenPod(4);
    WithPod([](VirtualPod& p) { p.sampling.timeScale = kPodTimeScale / 2; });
    std::mt19937 random(20261210);
    size_t residentAfterWarmUp = 0;
    for (int n = 0; n < kCaptures; ++n) {
        const uint32_t blocks = 1 + random() % 4;
        const uint32_t length = blocks * kSamplesPerBlock;
        const uint32_t rate = rates[random() % std::size(rates)];
        const uint32_t position = random() % 101;
        const uint32_t match = random() % (2 * length);
        SCOPED_TRACE(testing::Message() << "capture " << n << ": " << blocks << " blocks, rate "
                                        << rate << ", position " << position << ", match "
                                        << match);
        DeleteBuffer(podcore::buffer::Buffer().samples);
        ASSERT_NE(MakeBuffer(length), nullptr);
        const CaptureOutcome outcome =
            Run(rate, {kCountMask, match}, 1, PostTriggerFor(length, position));
        ASSERT_EQ(outcome.started, 1);
        ASSERT_FALSE(outcome.broke);
        ASSERT_EQ(outcome.running, 0) << "ended by itself";
        ASSERT_EQ(outcome.triggered, 1);
        const std::vector<uint32_t> samples = Samples();
        ASSERT_EQ(FirstBreakInCount(samples), samples.size());
        ASSERT_GT(outcome.trigger, 0);
        ASSERT_EQ(samples[outcome.trigger - 1], match);
        if (n + 1 == kWarmUp)
            residentAfterWarmUp = ResidentBytes();
    }
    // Allocator noise stays well below one capture's buffers, which a leak would add each time.
    // AddressSanitizer keeps freed memory in quarantine, so there the figure means nothing.
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(ResidentBytes(), residentAfterWarmUp + 8 * 1024 * 1024);
#else
    static_cast<void>(residentAfterWarmUp);
#endif
}

} // namespace
} // namespace capture_test
