// Finding pods among the driver's device interfaces, opening one as the current pod and making
// it ready for streaming.
#pragma once

#include "usb/usb_device.h"

#include <cstdint>

namespace podcore::usb {

// A device is a pod when it reports the pod's vendor and product identifiers.
bool IsPod(const UsbDevice& device);

int32_t EnumeratePods(uint32_t* podIds);
int32_t NewEnumeratePods(uint32_t* podIds);
int32_t OpenPod(uint32_t podId);
int32_t ClosePod();
int32_t InitializeKTLAPod(uint32_t podId);
int32_t InitializeKTPod(uint32_t podId);

} // namespace podcore::usb
