#include "capture/capture_stop.h"

#include "capture/ring_unroll.h"

namespace podcore::capture {

void EndStoppedCapture(CaptureState& state) {
    if (!state.stopPending)
        return;
    UnrollRing(state);
    buffer::MarkWritten(state.buffer);
    state.stopPending = false;
}

} // namespace podcore::capture
