// The library-wide pod state: the current pod, the pod table of InitializeKTPod and the outcome
// of the last control transfer. The exports run on one thread, so no lock guards it.
#pragma once

#include "usb/usb_device.h"

#include <array>
#include <cstdint>
#include <memory>

namespace podcore::usb {

struct PodTableEntry {
    std::shared_ptr<UsbDevice> device;
    uint32_t podId = 0;
    uint8_t flag = 0;
};

struct PodState {
    static constexpr int kPodTableSize = 85;

    // Shared with the pod table, so that a remembered pod outlives a change of current pod.
    std::shared_ptr<UsbDevice> currentPod;
    std::array<PodTableEntry, kPodTableSize> podTable;
    int podTableCount = 0;
    int32_t lastControlResult = 0;
};

PodState& Pods();

// Closes every pod and forgets the table, as at library load (tests use it between cases).
void ResetPods();

} // namespace podcore::usb
