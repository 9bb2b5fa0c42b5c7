// When a capture ends and what its end means.
#include "cli/capture_outcome.h"

#include <gtest/gtest.h>

namespace norrik::cli {
namespace {

TEST(CaptureOutcome, EveryEndFromTheStatusAndWhatHappened) {
    const struct {
        CaptureSnapshot status;
        bool interrupted;
        bool timeoutPassed;
        std::optional<CaptureEnd> end;
    } cases[] = {
        {{0, 1, 0}, false, false, std::nullopt},       // waiting for the trigger
        {{0, 1, 1}, false, false, std::nullopt},       // storing
        {{0, 1, 1}, false, true, std::nullopt},        // triggered before the time-out
        {{0, 0, 1}, false, false, CaptureEnd::Stored}, // ended by itself
        {{0, 0, 1}, false, true, CaptureEnd::Stored},
        {{0, 1, 0}, false, true, CaptureEnd::NoTrigger},
        {{1, 1, 0}, false, false, CaptureEnd::Break},
        {{0xCC, 1, 1}, false, false, CaptureEnd::Break}, // a pod that stopped answering
        {{1, 1, 0}, false, true, CaptureEnd::Break},     // a lost block outweighs the time-out
        {{1, 0, 1}, false, false, CaptureEnd::Stored},   // as the window: no break once ended
        {{0, 1, 0}, true, true, CaptureEnd::Interrupted},
        {{1, 1, 0}, true, false, CaptureEnd::Interrupted},
        {{0, 0, 1}, true, false, CaptureEnd::Interrupted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status.statusByte << " running "
                                        << int{c.status.running} << " triggered "
                                        << int{c.status.triggered} << " interrupted "
                                        << c.interrupted << " timeout " << c.timeoutPassed);
        EXPECT_EQ(EndOfCapture(c.status, c.interrupted, c.timeoutPassed), c.end);
    }
}

} // namespace
} // namespace norrik::cli
