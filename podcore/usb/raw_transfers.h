// The raw transfer exports' work: bulk transfers on a numbered pipe and vendor requests on
// endpoint 0 of the current pod.
#pragma once

#include "usb/usb_device.h"

#include <cstdint>

namespace podcore::usb {

// Pipes 1, 2, 4, 6 and 8: IN endpoint 0x80 + pipe, OUT endpoint pipe. 1 done, 0 failed.
int32_t BulkTransfer(UsbDevice& pod, uint8_t pipe, bool in, uint32_t length, uint8_t* buffer);
// A vendor request to the device; the outcome is also the last control result.
int32_t VendorTransfer(UsbDevice& pod, uint8_t request, uint32_t index, uint32_t value, bool in,
                       uint32_t length, uint8_t* buffer);

} // namespace podcore::usb
