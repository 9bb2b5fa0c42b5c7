// End-to-end captures through the exports against a virtual pod that samples in real time.
#pragma once

#include "buffer/sample_buffer.h"
#include "capture_run.h"
#include "exports/podcore.h"
#include "usb/sim/virtual_pod.h"
#include "usb/sim_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace capture_test {

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

    CaptureOutcome Run(uint32_t rateCode, const std::vector<uint32_t>& steps, int32_t stepCount,
                       uint32_t postTrigger,
                       std::chrono::milliseconds stopAfter = std::chrono::seconds(20)) {
        return RunCapture(rateCode, steps, stepCount, postTrigger, stopAfter);
    }
    std::vector<uint32_t> Samples() const { return LoggedSamples(); }
    uint32_t Length() const { return BufferLength(); }

    std::shared_ptr<podcore::usb::sim::VirtualPod> pod;
};

} // namespace capture_test
