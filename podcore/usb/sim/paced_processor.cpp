#include "usb/sim/paced_processor.h"

#include <algorithm>
#include <chrono>

namespace podcore::usb::sim {

namespace {
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Credit saved up beyond this is lost, so that a late thread does not race to catch up.
constexpr double kBurstMs = 1.0;
// The thread sleeps until it may run at least this much, rather than waking for every
// instruction.
constexpr double kSliceMs = 0.5;
} // namespace

PacedProcessor::PacedProcessor(PodController& controller, std::mutex& lock,
                               uint32_t instructionsPerMs)
    : controller_(controller), lock_(lock), instructionsPerMs_(std::max(1u, instructionsPerMs)),
      processor_(controller) {
    std::lock_guard guard(lock_);
    controller_.SetChangeListener([this] { wake_.notify_all(); });
    thread_ = std::thread([this] { Loop(); });
}

PacedProcessor::~PacedProcessor() {
    {
        std::lock_guard guard(lock_);
        stop_ = true;
        controller_.SetChangeListener(nullptr);
    }
    wake_.notify_all();
    thread_.join();
}

void PacedProcessor::Loop() {
    std::unique_lock guard(lock_);
    const double burst = instructionsPerMs_ * kBurstMs;
    const double slice = std::max(1.0, instructionsPerMs_ * kSliceMs);
    double credit = 0;
    Clock::time_point last = Clock::now();
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        credit = std::min(burst, credit + Milliseconds(now - last).count() * instructionsPerMs_);
        last = now;
        if (credit < slice) {
            const Milliseconds missing((slice - credit) / instructionsPerMs_);
            wake_.wait_until(guard, now + std::chrono::duration_cast<Clock::duration>(missing),
                             [this] { return stop_; });
            continue;
        }
        const PodProcessor::Slice ran = processor_.Run(static_cast<uint32_t>(credit));
        credit -= ran.executed;
        if (ran.waiting) {
            const uint64_t seen = controller_.Generation();
            wake_.wait(guard, [&] { return stop_ || controller_.Generation() != seen; });
        }
    }
}

} // namespace podcore::usb::sim
