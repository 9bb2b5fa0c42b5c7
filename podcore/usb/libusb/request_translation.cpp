#include "usb/libusb/request_translation.h"

#include "usb/driver.h"
#include "usb/usbd_status.h"

#include <libusb.h>

#include <cstdio>

namespace podcore::usb::libusb {

namespace {
constexpr uint32_t kErrorBusy = 170;
constexpr uint32_t kErrorSemTimeout = 121;
constexpr uint32_t kErrorNotEnoughMemory = 8;
} // namespace

std::array<uint8_t, 8> SetupPacket(const TransferRequest& header) {
    return {header.requestType,
            header.request,
            static_cast<uint8_t>(header.value),
            static_cast<uint8_t>(header.value >> 8),
            static_cast<uint8_t>(header.index),
            static_cast<uint8_t>(header.index >> 8),
            static_cast<uint8_t>(header.length),
            static_cast<uint8_t>(header.length >> 8)};
}

unsigned ControlTimeout(const TransferRequest& header) {
    return header.timeout > 4000000 ? 4000000000u : header.timeout * 1000u;
}

Outcome TransferOutcome(int status) {
    switch (status) {
    case LIBUSB_TRANSFER_COMPLETED:
        return {error::Success, usbd::Success};
    case LIBUSB_TRANSFER_CANCELLED:
        return {error::OperationAborted, usbd::Canceled};
    case LIBUSB_TRANSFER_STALL:
        return {error::GenFailure, usbd::StallPid};
    case LIBUSB_TRANSFER_NO_DEVICE:
        return {error::DeviceNotConnected, usbd::DevNotResponding};
    case LIBUSB_TRANSFER_OVERFLOW:
        return {error::GenFailure, usbd::DataOverrun};
    case LIBUSB_TRANSFER_TIMED_OUT:
        return {kErrorSemTimeout, usbd::Canceled};
    default:
        return {error::GenFailure, usbd::DevNotResponding};
    }
}

uint32_t SystemErrorOf(int libusbError) {
    switch (libusbError) {
    case LIBUSB_SUCCESS:
        return error::Success;
    case LIBUSB_ERROR_ACCESS:
        return error::AccessDenied;
    case LIBUSB_ERROR_NO_DEVICE:
        return error::DeviceNotConnected;
    case LIBUSB_ERROR_NOT_FOUND:
        return error::FileNotFound;
    case LIBUSB_ERROR_BUSY:
        return kErrorBusy;
    case LIBUSB_ERROR_TIMEOUT:
        return kErrorSemTimeout;
    case LIBUSB_ERROR_INVALID_PARAM:
        return error::InvalidParameter;
    case LIBUSB_ERROR_NO_MEM:
        return kErrorNotEnoughMemory;
    case LIBUSB_ERROR_NOT_SUPPORTED:
        return error::InvalidFunction;
    default:
        return error::GenFailure;
    }
}

std::string AccessHint(const std::string& devicePath) {
    return std::string("podcore: no permission to open the pod at ") + devicePath +
           "; install the udev rule " + kUdevRule + " (see packaging/README.md) and replug it";
}

uint32_t OpenFailure(int libusbError, const std::string& devicePath) {
    if (libusbError == LIBUSB_ERROR_ACCESS)
        std::fprintf(stderr, "%s\n", AccessHint(devicePath).c_str());
    return SystemErrorOf(libusbError);
}

} // namespace podcore::usb::libusb
