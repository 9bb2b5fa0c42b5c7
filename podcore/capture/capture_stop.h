// The end of StopCapture, once Running is 0 and no streaming thread runs any more.
#pragma once

#include "capture/capture_state.h"

namespace podcore::capture {

// Puts the ring of the capture in time order, tells the sample readers that the samples changed
// and hands them the summary built during the capture. Returns at once when no capture has been armed since the last stop.
void EndStoppedCapture(CaptureState& state);

} // namespace podcore::capture
