// The status byte CaptureStatus reports: the pod's own, or the break of streams that fell
// silent or drifted apart while the capture runs.
#include "capture/stream_watch.h"

#include <gtest/gtest.h>

namespace capture_test {
namespace {

using namespace podcore::capture;
using namespace std::chrono_literals;

TEST(ReportedStatus, StreamsThatStopDeliveringAreABreakOfTheirOwn) {
    struct Case {
        const char* name;
        uint8_t podStatus;
        uint8_t running;
        std::chrono::milliseconds sinceLastBlock;
        bool apart;
        uint8_t reported;
    };
    const Case cases[] = {
        {"streaming", 0, 1, 1900ms, false, 0},
        {"silent for the limit", 0, 1, 2000ms, false, kStatusNoSamples},
        {"silent for long", 0, 1, 60000ms, false, kStatusNoSamples},
        {"streams apart", 0, 1, 0ms, true, kStatusNoSamples},
        {"the pod's own break wins", 0x07, 1, 5000ms, true, 0x07},
        {"a pod that does not answer", 0xCC, 1, 5000ms, false, 0xCC},
        {"ended captures are not watched", 0, 0, 5000ms, true, 0},
    };
    podcore::buffer::State samples;
    CaptureState state(samples);
    const WatchClock::time_point now = WatchClock::now();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NoteBlockCompleted(state, now - c.sinceLastBlock);
        state.Running = c.running;
        state.streamsApart = c.apart;
        EXPECT_EQ(ReportedStatus(c.podStatus, state, now), c.reported);
    }
}

} // namespace
} // namespace capture_test
