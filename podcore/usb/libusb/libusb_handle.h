// An open pod through libusb: simple requests map onto libusb calls, transfer requests onto
// asynchronous libusb transfers that complete the caller's overlapped record.
#pragma once

#include "usb/driver.h"
#include "usb/libusb/libusb_context.h"
#include "usb/transfer_plan.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct libusb_device_handle;
struct libusb_transfer;

namespace podcore::usb::libusb {

// A pod opened through libusb, shared by every handle the process has on it: the system lets
// only one of them claim the interface, while the pod calls open a pod more than once.
struct SharedPod {
    // Takes over an open handle whose interface 0 is claimed.
    SharedPod(std::shared_ptr<LibusbContext> context, libusb_device_handle* handle);
    ~SharedPod();
    SharedPod(const SharedPod&) = delete;
    SharedPod& operator=(const SharedPod&) = delete;
    void ReadEndpointTypes();

    const std::shared_ptr<LibusbContext> context; // released after the handle is closed
    libusb_device_handle* const handle;
    std::mutex mutex; // guards the fields below
    uint8_t altSetting = 0;
    std::map<uint8_t, uint8_t> endpointTypes;  // address → libusb transfer type
    std::map<uint8_t, uint32_t> transferSizes; // the driver's transfer size by endpoint
};

class LibusbHandle : public DeviceHandle {
public:
    LibusbHandle(std::shared_ptr<SharedPod> pod, std::string path);
    ~LibusbHandle() override;

    uint32_t Request(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                     uint32_t outLength, uint32_t& returned) override;
    uint32_t Submit(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength,
                    Overlapped& overlapped) override;

private:
    struct InFlight {
        LibusbHandle* owner;
        libusb_transfer* transfer;
        TransferPlan plan;
        Overlapped* overlapped;
        std::vector<uint8_t> controlBuffer; // setup packet + data of a control transfer
    };
    static void Finished(libusb_transfer* transfer);
    void Finish(InFlight* flight);
    void CancelEndpoint(uint8_t address);
    bool HasEndpoint(uint8_t address);

    std::shared_ptr<SharedPod> pod_;
    libusb_device_handle* handle_;
    std::string path_;
    std::mutex mutex_; // guards inFlight_
    std::condition_variable drained_;
    std::vector<InFlight*> inFlight_;
};

} // namespace podcore::usb::libusb
