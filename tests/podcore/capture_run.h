// A capture through the exports as the application runs one, whichever driver reaches the pod,
// and what to check the samples with.
#pragma once

#include "virtual_pod_speed.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace capture_test {

constexpr uint32_t kSamplesPerBlock = 65536;
constexpr uint32_t kCountMask = 0xFFFFFF;

struct CaptureOutcome {
    int32_t started = 0;
    int32_t status = 0;  // the last status byte before the stop
    uint8_t running = 0; // running as the last poll before the stop saw it
    // The pod reported lost data while the capture still ran. Once a capture has ended by
    // itself nobody reads the pod any more and its FIFOs overflow, which is no break.
    bool broke = false;
    uint8_t triggered = 0; // after the stop
    int32_t startP = 0;
    int32_t endP = 0;
    int32_t trigger = 0;
    std::chrono::milliseconds took{0};
};

// StartCapture over the whole buffer, CaptureStatus polled as the application does until the
// capture ends or the pod reports a break (or `stopAfter` passed), StopCapture, one more
// CaptureStatus.
CaptureOutcome RunCapture(uint32_t rateCode, const std::vector<uint32_t>& steps, int32_t stepCount,
                          uint32_t postTrigger,
                          std::chrono::milliseconds stopAfter = std::chrono::seconds(20));

// The buffer's length and its samples, from LoggedData.
uint32_t BufferLength();
std::vector<uint32_t> LoggedSamples();

// The post-trigger count the application asks for at a trigger position (percent).
uint32_t PostTriggerFor(uint32_t bufferSamples, uint32_t position);

// Index of the first sample that does not continue the count of sample 0, or the length.
// Byte 2 of the first four samples of an auxiliary packet may carry the byte of the sample
// four on, as the stream's fix-up leaves it.
size_t FirstBreakInCount(const std::vector<uint32_t>& samples);

} // namespace capture_test
