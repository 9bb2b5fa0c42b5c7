#include "capture/capture_state.h"

namespace podcore::capture {

CaptureState& Capture() {
    static CaptureState state(buffer::Buffer());
    return state;
}

} // namespace podcore::capture
