#include "usb/sim/pod_processor.h"

#include <algorithm>

namespace podcore::usb::sim {

namespace {
constexpr uint32_t kLongestMarkInterval = 4096;
} // namespace

PodProcessor::PodProcessor(PodController& controller) : controller_(controller), cpu_(controller) {}

PodProcessor::Slice PodProcessor::Run(uint32_t budget) {
    if (controller_.Held())
        return {0, true};
    if (controller_.Holds() != holdsSeen_) {
        holdsSeen_ = controller_.Holds();
        cpu_.Reset();
    }
    // Brent's cycle search: the state is compared with a mark taken ever more rarely, so that
    // a loop of any length up to the longest interval is found within a few passes once the
    // program has entered it. A mark counts only while the controller stays as it was then.
    Cpu8051State mark = cpu_.State();
    uint64_t markGeneration = controller_.Generation();
    uint32_t markInterval = 1;
    uint32_t sinceMark = 0;
    Slice slice;
    while (slice.executed < budget) {
        cpu_.Step();
        ++slice.executed;
        const Cpu8051State& state = cpu_.State();
        if (state.pc == mark.pc && controller_.Generation() == markGeneration && state == mark) {
            slice.waiting = true;
            break;
        }
        if (++sinceMark == markInterval) {
            mark = state;
            markGeneration = controller_.Generation();
            markInterval = std::min(2 * markInterval, kLongestMarkInterval);
            sinceMark = 0;
        }
    }
    executed_ += slice.executed;
    return slice;
}

} // namespace podcore::usb::sim
