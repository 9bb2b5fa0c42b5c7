// When a capture on the command line ends and what its end means, from what the library's
// status reports and what happened meanwhile, apart from the pod that runs it.
#pragma once

#include <cstdint>
#include <optional>

namespace norrik::cli {

// The outputs of one CaptureStatus call that decide the end.
struct CaptureSnapshot {
    int32_t statusByte = 0; // the result
    uint8_t running = 0;
    uint8_t triggered = 0;
};

enum class CaptureEnd {
    Stored = 0,       // ended by itself with every sample stored
    PodProblem = 1,   // the pod did not start the capture
    Break = 3,        // ended while running with a nonzero status byte: samples were lost
    NoTrigger = 4,    // the time-out passed before the trigger
    Interrupted = 130 // Ctrl-C
};

// Nothing while the capture goes on: the window's Timer1 keeps polling while the capture runs
// and the status byte is 0. Otherwise how it ended. The user's stop wins over the rest, a lost
// block over a time-out passing at the same moment.
std::optional<CaptureEnd> EndOfCapture(const CaptureSnapshot& status, bool interrupted,
                                       bool timeoutPassed);

} // namespace norrik::cli
