#include "exports/capture_guard.h"

#include "capture/capture_state.h"

#include <cstdio>

namespace podcore {

bool RefusedDuringCapture(const char* exportName) noexcept {
    if (!capture::Capture().stopPending)
        return false;
    std::fprintf(stderr, "podcore: %s refused: a capture runs until StopCapture returns\n",
                 exportName);
    return true;
}

} // namespace podcore
