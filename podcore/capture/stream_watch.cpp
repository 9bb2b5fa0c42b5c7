#include "capture/stream_watch.h"

namespace podcore::capture {

void NoteBlockCompleted(CaptureState& state, WatchClock::time_point now) {
    state.lastBlockTicks = now.time_since_epoch().count();
}

uint8_t ReportedStatus(uint8_t podStatus, const CaptureState& state, WatchClock::time_point now) {
    if (podStatus != 0 || state.Running == 0)
        return podStatus;
    const WatchClock::time_point lastBlock{WatchClock::duration(state.lastBlockTicks.load())};
    if (state.streamsApart || now - lastBlock >= kNoSampleLimit)
        return kStatusNoSamples;
    return podStatus;
}

} // namespace podcore::capture
