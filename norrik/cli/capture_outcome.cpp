#include "capture_outcome.h"

namespace norrik::cli {

std::optional<CaptureEnd> EndOfCapture(const CaptureSnapshot& status, bool interrupted,
                                       bool timeoutPassed) {
    if (interrupted)
        return CaptureEnd::Interrupted;
    if (status.running != 0 && status.statusByte != 0)
        return CaptureEnd::Break;
    if (status.running == 0)
        return CaptureEnd::Stored;
    if (timeoutPassed && status.triggered == 0)
        return CaptureEnd::NoTrigger;
    return std::nullopt;
}

} // namespace norrik::cli
