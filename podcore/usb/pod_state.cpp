#include "usb/pod_state.h"

namespace podcore::usb {

PodState& Pods() {
    static PodState state;
    return state;
}

void ResetPods() {
    Pods() = PodState{};
}

} // namespace podcore::usb
