// The seam between the USB layer and whatever reaches the pod: the kernel driver's device
// interfaces, requests and overlapped completion, and nothing more. Two back ends honour it with
// the same request codes and TransferRequest layout: "sim" (virtual pods) and "libusb".
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace podcore::usb {

// Device I/O control codes: device type 0x22, function n at 0x220000 + 4 * n.
namespace request {
constexpr uint32_t GetDriverVersion = 0x220000;
constexpr uint32_t GetUsbdiVersion = 0x220004;
constexpr uint32_t GetAltSetting = 0x220008;
constexpr uint32_t SetAltSetting = 0x22000C;
constexpr uint32_t GetAddress = 0x220010;
constexpr uint32_t ControlTransfer = 0x220020;
constexpr uint32_t BufferedTransfer = 0x220024;
constexpr uint32_t ResetPipe = 0x22002C;
constexpr uint32_t GetTransferSize = 0x220034;
constexpr uint32_t SetTransferSize = 0x220038;
constexpr uint32_t GetDeviceName = 0x22003C;
constexpr uint32_t GetFriendlyName = 0x220040;
constexpr uint32_t AbortPipe = 0x220044;
constexpr uint32_t DirectTransfer = 0x22004B;
} // namespace request

// System error codes as the driver reports them.
namespace error {
constexpr uint32_t Success = 0;
constexpr uint32_t InvalidFunction = 1;
constexpr uint32_t FileNotFound = 2;
constexpr uint32_t AccessDenied = 5;
constexpr uint32_t GenFailure = 31;
constexpr uint32_t InvalidParameter = 87;
constexpr uint32_t InsufficientBuffer = 122;
constexpr uint32_t NoMoreItems = 259;
constexpr uint32_t OperationAborted = 995;
constexpr uint32_t IoIncomplete = 996;
constexpr uint32_t IoPending = 997;
constexpr uint32_t DeviceNotConnected = 1167;
} // namespace error

constexpr uint32_t kInfinite = 0xFFFFFFFF;

// The interface class of the pod's driver; devices of other drivers are not listed.
constexpr const char* kPodInterfaceClass = "{EBBD5F0E-5561-4B20-BFBB-2B2AAD43D815}";

// The record of one overlapped request: the driver completes it once, the caller waits on it.
// A record may be reused for a new request only after the previous one completed.
class Overlapped {
public:
    // Driver side: called exactly once per submitted request, after the data is in place.
    void Complete(uint32_t systemError, uint32_t bytes);
    // Driver side: marks the record as in flight when a request is accepted.
    void Arm();

    // Waits up to `milliseconds` (kInfinite for no limit); true once the request completed.
    bool Wait(uint32_t milliseconds);
    // The result without waiting: false with IoIncomplete while in flight, false with the
    // request's error when it failed, true when it succeeded.
    bool Result(uint32_t& bytes, uint32_t& systemError) const;
    bool Done() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable completed_;
    bool done_ = true;
    uint32_t error_ = 0;
    uint32_t bytes_ = 0;
};

// An open device interface. Closing it (destroying it) cancels its outstanding requests and
// waits until each has completed, so no buffer is written after the handle is gone.
class DeviceHandle {
public:
    virtual ~DeviceHandle() = default;

    // A synchronous request; `returned` gets the bytes written to `out`. Returns the system
    // error code, 0 on success. `in` and `out` may be the same buffer.
    virtual uint32_t Request(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                             uint32_t outLength, uint32_t& returned) = 0;

    // An overlapped transfer request (ControlTransfer, BufferedTransfer, DirectTransfer).
    // Returns 0 when it completed at once, error::IoPending when `overlapped` will complete it
    // later, or the failure code (then `overlapped` is not used). Both buffers must stay valid
    // until the request completes; the driver writes the status fields into the header in `in`.
    virtual uint32_t Submit(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                            uint32_t outLength, Overlapped& overlapped) = 0;
};

class Driver {
public:
    virtual ~Driver() = default;
    // Paths of the present device interfaces of `interfaceClass`, in device order.
    virtual std::vector<std::string> InterfacePaths(const std::string& interfaceClass) = 0;
    // Opens a device interface by path; null with `systemError` set when it cannot be opened.
    virtual std::unique_ptr<DeviceHandle> Open(const std::string& path, uint32_t& systemError) = 0;
};

// The back end in use: chosen from PODCORE_DRIVER ("libusb", the default, or "sim") on first use.
Driver& CurrentDriver();

// Replaces the back end (tests install a configured virtual pod set). Devices opened through
// the previous one stay usable until they are closed.
void InstallDriver(std::unique_ptr<Driver> driver);

} // namespace podcore::usb
