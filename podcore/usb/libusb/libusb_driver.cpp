#include "usb/libusb/libusb_driver.h"

#include "usb/libusb/libusb_context.h"
#include "usb/libusb/libusb_handle.h"
#include "usb/libusb/request_translation.h"
#include "usb/pod_ids.h"

#include <libusb.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>

namespace podcore::usb::libusb {

namespace {

constexpr int kInterface = 0;

// Where a device is plugged in: its bus, then the port at each hub from the root on (USB has
// at most seven tiers), 0 past the last; places sort as the ports do.
using Place = std::array<uint8_t, 8>;

Place PlaceOf(libusb_device* device) {
    Place place{libusb_get_bus_number(device)};
    libusb_get_port_numbers(device, place.data() + 1, place.size() - 1);
    return place;
}

// Devices are named by bus and port chain, which stays put while the pod stays plugged in.
std::string PathOf(const Place& place) {
    std::string path = "usb:" + std::to_string(place[0]) + "-";
    for (size_t i = 1; i < place.size() && place[i] != 0; ++i) {
        if (i > 1)
            path += '.';
        path += std::to_string(place[i]);
    }
    return path;
}

std::string PathOf(libusb_device* device) {
    return PathOf(PlaceOf(device));
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
        std::vector<Place> places;
        for (ssize_t i = 0; i < count; ++i)
            if (IsPod(list[i]))
                places.push_back(PlaceOf(list[i]));
        if (count >= 0)
            libusb_free_device_list(list, 1);
        // libusb lists the newest device first; pods keep their order by where they are
        // plugged in, whatever order they arrived in.
        std::sort(places.begin(), places.end());
        for (const auto& place : places)
            paths.push_back(PathOf(place));
        return paths;
    }

    std::unique_ptr<DeviceHandle> Open(const std::string& path, uint32_t& systemError) override {
        systemError = error::FileNotFound;
        if (context_->Get() == nullptr)
            return nullptr;
        std::lock_guard lock(mutex_);
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_->Get(), &list);
        libusb_device* device = nullptr;
        for (ssize_t i = 0; i < count && device == nullptr; ++i)
            if (IsPod(list[i]) && PathOf(list[i]) == path)
                device = list[i];
        // A pod pulled out and plugged in again at the same place is a new device: a handle
        // still open on the old one answers nothing.
        std::shared_ptr<SharedPod> pod = opened_[path].lock();
        if (device == nullptr || (pod && libusb_get_device(pod->handle) != device))
            pod.reset();
        libusb_device_handle* handle = nullptr;
        if (device != nullptr && !pod) {
            const int opened = libusb_open(device, &handle);
            if (opened != 0)
                systemError = OpenFailure(opened, path);
        }
        if (count >= 0)
            libusb_free_device_list(list, 1);
        if (pod) {
            systemError = error::Success;
            return std::make_unique<LibusbHandle>(pod, path);
        }
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
        pod = std::make_shared<SharedPod>(context_, handle);
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
