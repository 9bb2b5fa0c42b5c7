// Runs a PodProcessor on a thread of its own, paced so that it costs a small share of a core:
// at most `instructionsPerMs` instructions in any millisecond (a burst of one millisecond
// aside), and none at all while the program waits or the CPU is held, until the controller
// changes from outside. The thread holds `lock`, the device's lock, while the processor runs;
// whoever changes the controller does so under the same lock.
#pragma once

#include "usb/sim/pod_processor.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace podcore::usb::sim {

class PacedProcessor {
public:
    PacedProcessor(PodController& controller, std::mutex& lock, uint32_t instructionsPerMs);
    ~PacedProcessor();
    PacedProcessor(const PacedProcessor&) = delete;
    PacedProcessor& operator=(const PacedProcessor&) = delete;

    // Under the lock.
    const PodProcessor& Processor() const { return processor_; }

private:
    void Loop();

    PodController& controller_;
    std::mutex& lock_;
    const double instructionsPerMs_;
    PodProcessor processor_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace podcore::usb::sim
