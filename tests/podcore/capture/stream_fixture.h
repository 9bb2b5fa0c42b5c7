// End-to-end captures through the exports against a virtual pod that samples in real time.
#pragma once

#include "buffer/sample_buffer.h"
#include "exports/podcore.h"
#include "usb/sim/virtual_pod.h"
#include "usb/sim_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace capture_test {

// Sanitized builds store several times slower; their virtual pod samples slower in proportion.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double kPodTimeScale = 0.25;
#else
constexpr double kPodTimeScale = 1.0;
#endif

constexpr uint32_t kSamplesPerBlock = 65536;
constexpr uint32_t kCountMask = 0xFFFFFF;

struct CaptureOutcome {
    int32_t started = 0;
    int32_t status = 0;    // the last status byte before the stop
    uint8_t running = 0;   // running as the last poll before the stop saw it
    // The pod reported lost data while the capture still ran. Once a capture has ended by
    // itself nobody reads the pod any more and its FIFOs overflow, which is no break.
    bool broke = false;
    uint8_t triggered = 0; // after the stop
    int32_t startP = 0;
    int32_t endP = 0;
    int32_t trigger = 0;
    std::chrono::milliseconds took{0};
};

class StreamFixture : public podtest::SimTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Attaches a pod with the counting signal, opens it and makes a buffer of `blocks` blocks.
    void OpenPod(uint32_t blocks, bool fullSpeed = false);
    // Runs the device's state change under its lock.
    template <typename Change> void WithPod(Change change) {
        std::lock_guard lock(pod->mutex);
        change(*pod);
    }

    // StartCapture, CaptureStatus polled as the application does until the capture ends or the
    // pod reports a break (or `stopAfter` passed), StopCapture, one more CaptureStatus.
    CaptureOutcome Run(uint32_t rateCode, const std::vector<uint32_t>& steps, int32_t stepCount,
                       uint32_t postTrigger,
                       std::chrono::milliseconds stopAfter = std::chrono::seconds(20));

    // Samples of the buffer, from LoggedData.
    std::vector<uint32_t> Samples() const;
    uint32_t Length() const { return podcore::buffer::Buffer().bufferLength; }

    std::shared_ptr<podcore::usb::sim::VirtualPod> pod;
};

// The post-trigger count the application asks for at a trigger position (percent).
uint32_t PostTriggerFor(uint32_t bufferSamples, uint32_t position);

// Index of the first sample that does not continue the count of sample 0, or the length.
// Byte 2 of the first four samples of an auxiliary packet may carry the byte of the sample
// four on, as the stream's fix-up leaves it.
size_t FirstBreakInCount(const std::vector<uint32_t>& samples);

} // namespace capture_test
