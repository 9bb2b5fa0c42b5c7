// The pod's 8051 on its controller: runs the loaded program in slices, restarts it from its
// reset vector at the release that follows each hold, and tells when the program only waits,
// that is when its whole state came round to where it was with no change to the controller in
// between. Such a program repeats the same instructions until something outside changes.
#pragma once

#include "usb/sim/cpu8051.h"
#include "usb/sim/pod_controller.h"

#include <cstdint>

namespace podcore::usb::sim {

class PodProcessor {
public:
    explicit PodProcessor(PodController& controller);

    struct Slice {
        uint32_t executed = 0;
        bool waiting = false; // held in reset, or looping on unchanged input
    };
    // Runs at most `budget` instructions, fewer once the program waits.
    Slice Run(uint32_t budget);

    const Cpu8051& Cpu() const { return cpu_; }
    uint64_t Executed() const { return executed_; }

private:
    PodController& controller_;
    Cpu8051 cpu_;
    uint32_t holdsSeen_ = 0;
    uint64_t executed_ = 0;
};

} // namespace podcore::usb::sim
