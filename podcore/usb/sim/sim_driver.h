// The virtual driver: lists attached virtual devices as device interfaces of the pod class and
// carries out the driver requests on them, validating each as the kernel driver would. It keeps
// a bounded log of the requests it received for tests to inspect.
#pragma once

#include "usb/driver.h"
#include "usb/sim/virtual_device.h"
#include "usb/transfer_request.h"

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace podcore::usb::sim {

struct LoggedRequest {
    static constexpr uint32_t kKeptInput = TransferRequest::kSize + 512;

    int device = 0; // attach order
    uint32_t code = 0;
    uint32_t inputLength = 0;
    uint32_t outputLength = 0;
    std::vector<uint8_t> input; // the first kKeptInput bytes
    uint32_t result = 0;        // the system error code the driver answered

    std::optional<TransferRequest> Header() const;
};

// The requests the driver received, newest last; shared with the open handles, which may
// outlive the driver that opened them.
class RequestLog {
public:
    static constexpr size_t kCapacity = 4096;
    void Add(LoggedRequest entry);
    std::vector<LoggedRequest> Entries() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::deque<LoggedRequest> entries_;
};

class SimDriver : public Driver {
public:
    static constexpr size_t kLogCapacity = RequestLog::kCapacity;

    // Attaches a device after the ones present; returns it for the test to keep.
    template <typename Device> std::shared_ptr<Device> Attach(std::shared_ptr<Device> device) {
        AttachDevice(device);
        return device;
    }
    // Unplugs a device: it is no longer listed, its requests fail and its queued transfers
    // complete with "device not connected".
    void Remove(const std::shared_ptr<VirtualDevice>& device);

    std::vector<LoggedRequest> Requests() const { return log_->Entries(); }
    void ClearRequests() { log_->Clear(); }

    std::vector<std::string> InterfacePaths(const std::string& interfaceClass) override;
    std::unique_ptr<DeviceHandle> Open(const std::string& path, uint32_t& systemError) override;

private:
    struct Attached {
        std::string path;
        int number;
        std::shared_ptr<VirtualDevice> device;
    };
    void AttachDevice(std::shared_ptr<VirtualDevice> device);
    static bool Present(const Attached& attached);

    mutable std::mutex mutex_;
    std::vector<Attached> attached_;
    int attachedEver_ = 0;
    std::shared_ptr<RequestLog> log_ = std::make_shared<RequestLog>();
};

// A driver with virtual pods of the listed identifiers ("5,9"); one pod with identifier 1 when
// the list is null or names none. Every pod has the faults of the PODCORE_SIM_FAULTS word list
// `faultWords` (none when null); words it does not know are reported on standard error.
std::unique_ptr<SimDriver> MakeSimDriver(const char* podIds, const char* faultWords = nullptr);

} // namespace podcore::usb::sim
