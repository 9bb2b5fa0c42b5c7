// The pure part of the libusb back end: how driver requests and their results map onto libusb's
// terms. Kept apart so that it is tested without a pod attached.
#pragma once

#include "usb/transfer_request.h"
#include "usb/udev_rule.h"

#include <array>
#include <cstdint>
#include <string>

namespace podcore::usb::libusb {

// The 8-byte setup packet of a control transfer request.
std::array<uint8_t, 8> SetupPacket(const TransferRequest& header);

// The control transfer's time-out in milliseconds (the header carries seconds; 0 is no limit).
unsigned ControlTimeout(const TransferRequest& header);

// What the driver reports for a finished transfer.
struct Outcome {
    uint32_t systemError;
    uint32_t usbdStatus;
};
Outcome TransferOutcome(int libusbTransferStatus);

// The system error code for a libusb error code (a negative LIBUSB_ERROR_* value).
uint32_t SystemErrorOf(int libusbError);

// The line for standard error when a pod cannot be opened for lack of permission.
std::string AccessHint(const std::string& devicePath);

// The system error code for a failed libusb_open of the pod at `devicePath`; a refusal for lack
// of permission also puts the access hint on standard error.
uint32_t OpenFailure(int libusbError, const std::string& devicePath);

} // namespace podcore::usb::libusb
