#include "capture/capture_stop.h"

#include "capture/capture_summary.h"
#include "capture/ring_unroll.h"

namespace podcore::capture {

void EndStoppedCapture(CaptureState& state) {
    if (!state.stopPending)
        return;
    const uint32_t covered = SummariseUnprocessedWrites(state);
    const uint32_t rotatedBy = UnrollRing(state);
    buffer::MarkWritten(state.buffer);
    HandOverRingSummary(state, rotatedBy, covered);
    state.stopPending = false;
}

} // namespace podcore::capture
