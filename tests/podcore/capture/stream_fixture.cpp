#include "stream_fixture.h"

namespace capture_test {

using namespace std::chrono;
using podcore::usb::sim::VirtualPod;

// A capture left running by a failed case must not stream into the next one.
void StreamFixture::SetUp() {
    StopCapture();
    SimTest::SetUp();
}

void StreamFixture::TearDown() {
    StopCapture();
    if (uint32_t* samples = podcore::buffer::Buffer().samples)
        DeleteBuffer(samples);
    pod.reset();
    SimTest::TearDown();
}

void StreamFixture::OpenPod(uint32_t blocks, bool fullSpeed) {
    pod = AttachPod(7, fullSpeed);
    WithPod([](VirtualPod& p) {
        p.sampling.signal = podcore::usb::sim::Signal::Counting;
        p.sampling.timeScale = kPodTimeScale;
        p.sampling.fastestSamplesPerSecond = kFastestPodSamples;
    });
    ASSERT_EQ(InitializeKTLAPod(7), 1);
    if (uint32_t* samples = podcore::buffer::Buffer().samples)
        DeleteBuffer(samples);
    if (blocks != 0) {
        ASSERT_NE(MakeBuffer(blocks * kSamplesPerBlock), nullptr);
    }
}

} // namespace capture_test
