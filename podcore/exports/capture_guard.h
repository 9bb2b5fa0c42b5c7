// Exports that would change what a running capture uses (the sample buffer, the pod, its
// endpoints) refuse from StartCapture's arming until StopCapture has returned.
#pragma once

#include "exports/guard.h"

#include <utility>

namespace podcore {

// True while a capture is in progress, after one line on standard error saying that
// `exportName` was refused; false otherwise, with nothing printed.
bool RefusedDuringCapture(const char* exportName) noexcept;

// `failure` while a capture is in progress (nothing is changed), otherwise Guarded(body).
template <typename Result, typename Body>
Result GuardedUnlessCapturing(const char* exportName, Result failure, Body&& body) noexcept {
    if (RefusedDuringCapture(exportName))
        return failure;
    return Guarded<Result>(failure, std::forward<Body>(body));
}

} // namespace podcore
