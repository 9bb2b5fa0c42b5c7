#include "capture_run.h"

#include "buffer/sample_buffer.h"
#include "exports/podcore.h"

#include <thread>

namespace capture_test {

using namespace std::chrono;

CaptureOutcome RunCapture(uint32_t rateCode, const std::vector<uint32_t>& steps, int32_t stepCount,
                          uint32_t postTrigger, milliseconds stopAfter) {
    CaptureOutcome outcome;
    const auto begin = steady_clock::now();
    outcome.started =
        StartCapture(rateCode, 2, steps.data(), stepCount, nullptr, BufferLength(), postTrigger);
    if (outcome.started == 1) {
        uint8_t breaks = 0, running = 1, triggered = 0, full = 0;
        int32_t startP = 0, endP = 0, trigger = 0;
        do {
            std::this_thread::sleep_for(milliseconds(5));
            outcome.status =
                CaptureStatus(&breaks, &running, &triggered, &startP, &endP, &trigger, &full);
            outcome.running = running;
            outcome.broke = outcome.status != 0 && running == 1;
        } while (running == 1 && outcome.status == 0 && steady_clock::now() - begin < stopAfter);
    }
    StopCapture();
    uint8_t breaks = 0, running = 0, full = 0;
    CaptureStatus(&breaks, &running, &outcome.triggered, &outcome.startP, &outcome.endP,
                  &outcome.trigger, &full);
    outcome.took = duration_cast<milliseconds>(steady_clock::now() - begin);
    return outcome;
}

uint32_t BufferLength() {
    return podcore::buffer::Buffer().bufferLength;
}

std::vector<uint32_t> LoggedSamples() {
    std::vector<uint32_t> samples(BufferLength());
    for (uint32_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<uint32_t>(LoggedData(i));
    return samples;
}

uint32_t PostTriggerFor(uint32_t bufferSamples, uint32_t position) {
    return (bufferSamples / 100 * (100 - position) + 65536) & ~0xFFFFu;
}

size_t FirstBreakInCount(const std::vector<uint32_t>& samples) {
    if (samples.empty())
        return 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const uint32_t expected = (samples[0] + i) & kCountMask;
        const uint32_t later = (samples[0] + i + 4) & kCountMask;
        const uint32_t got = samples[i];
        const bool lowOk = (got & 0xFFFF) == (expected & 0xFFFF);
        const bool highOk = (got >> 16) == (expected >> 16) || (got >> 16) == (later >> 16);
        if (!lowOk || !highOk)
            return i;
    }
    return samples.size();
}

} // namespace capture_test
