#include "usb/libusb/libusb_driver.h"

#include "usb/libusb/libusb_context.h"
#include "usb/libusb/libusb_handle.h"
#include "usb/libusb/request_translation.h"
#include "usb/pod_ids.h"

#include <libusb.h>

#include <cstdio>
#include <map>
#include <mutex>

namespace podcore::usb::libusb {

namespace {

constexpr int kInterface = 0;

// Devices are named by bus and port chain, which stays put while the pod stays plugged in.
std::string PathOf(libusb_device* device) {
    uint8_t ports[8] = {};
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    char path[64];
    int used = std::snprintf(path, sizeof path, "usb:%u-", libusb_get_bus_number(device));
    for (int i = 0; i < depth && used > 0 && used < static_cast<int>(sizeof path); ++i)
        used += std::snprintf(path + used, sizeof path - used, i ? ".%u" : "%u", ports[i]);
    return path;
}

bool IsPod(libusb_device* device) {
    libusb_device_descriptor descriptor{};
    return libusb_get_device_descriptor(device, &descriptor) == 0 &&
           descriptor.idVendor == PodVendorId && descriptor.idProduct == PodProductId;
}

// The pods' device interfaces: the devices this driver serves are the ones with the pod's
// identifiers, as the kernel driver is bound to them.
class LibusbDriver : public Driver {
public:
    std::vector<std::string> InterfacePaths(const std::string& interfaceClass) override {
        std::vector<std::string> paths;
        if (context_->Get() == nullptr || interfaceClass != kPodInterfaceClass)
            return paths;
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_->Get(), &list);
        for (ssize_t i = 0; i < count; ++i)
            if (IsPod(list[i]))
                paths.push_back(PathOf(list[i]));
        if (count >= 0)
            libusb_free_device_list(list, 1);
        return paths;
    }

    std::unique_ptr<DeviceHandle> Open(const std::string& path, uint32_t& systemError) override {
        systemError = error::FileNotFound;
        if (context_->Get() == nullptr)
            return nullptr;
        std::lock_guard lock(mutex_);
        if (auto pod = opened_[path].lock()) {
            systemError = error::Success;
            return std::make_unique<LibusbHandle>(pod, path);
        }
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_->Get(), &list);
        libusb_device_handle* handle = nullptr;
        for (ssize_t i = 0; i < count && handle == nullptr; ++i) {
            if (!IsPod(list[i]) || PathOf(list[i]) != path)
                continue;
            const int opened = libusb_open(list[i], &handle);
            if (opened != 0)
                systemError = OpenFailure(opened, path);
        }
        if (count >= 0)
            libusb_free_device_list(list, 1);
        if (handle == nullptr)
            return nullptr;
        libusb_set_auto_detach_kernel_driver(handle, 1);
        const int claimed = libusb_claim_interface(handle, kInterface);
        if (claimed != 0) {
            systemError = SystemErrorOf(claimed);
            libusb_close(handle);
            return nullptr;
        }
        context_->StartEvents();
        systemError = error::Success;
        auto pod = std::make_shared<SharedPod>(context_, handle);
        opened_[path] = pod;
        return std::make_unique<LibusbHandle>(pod, path);
    }

private:
    std::shared_ptr<LibusbContext> context_ = std::make_shared<LibusbContext>();
    std::mutex mutex_;
    std::map<std::string, std::weak_ptr<SharedPod>> opened_;
};

} // namespace

std::unique_ptr<Driver> MakeLibusbDriver() {
    return std::make_unique<LibusbDriver>();
}

} // namespace podcore::usb::libusb
