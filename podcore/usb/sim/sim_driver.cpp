#include "usb/sim/sim_driver.h"

#include "usb/sim/run_faults.h"
#include "usb/sim/sim_handle.h"
#include "usb/sim/virtual_pod.h"

#include <cstdlib>
#include <string_view>

namespace podcore::usb::sim {

std::optional<TransferRequest> LoggedRequest::Header() const {
    if (input.size() < TransferRequest::kSize)
        return std::nullopt;
    return TransferRequest::DecodeFrom(input.data());
}

void SimDriver::AttachDevice(std::shared_ptr<VirtualDevice> device) {
    std::lock_guard lock(mutex_);
    const int number = attachedEver_++;
    attached_.push_back({"sim:" + std::to_string(number), number, std::move(device)});
}

void SimDriver::Remove(const std::shared_ptr<VirtualDevice>& device) {
    {
        std::lock_guard lock(mutex_);
        std::erase_if(attached_, [&](const Attached& a) { return a.device == device; });
    }
    std::lock_guard lock(device->mutex);
    device->Unplug();
}

// A device may also pull itself out (a timed unplug fault), so each is asked.
bool SimDriver::Present(const Attached& attached) {
    std::lock_guard lock(attached.device->mutex);
    return !attached.device->removed;
}

void RequestLog::Add(LoggedRequest entry) {
    std::lock_guard lock(mutex_);
    if (entries_.size() == kCapacity)
        entries_.pop_front();
    entries_.push_back(std::move(entry));
}

std::vector<LoggedRequest> RequestLog::Entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

void RequestLog::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

std::vector<std::string> SimDriver::InterfacePaths(const std::string& interfaceClass) {
    std::vector<std::string> paths;
    if (interfaceClass != kPodInterfaceClass)
        return paths;
    std::lock_guard lock(mutex_);
    for (const Attached& a : attached_)
        if (Present(a))
            paths.push_back(a.path);
    return paths;
}

std::unique_ptr<DeviceHandle> SimDriver::Open(const std::string& path, uint32_t& systemError) {
    std::lock_guard lock(mutex_);
    for (const Attached& a : attached_) {
        if (a.path != path || !Present(a))
            continue;
        bool denied = false;
        {
            std::lock_guard deviceLock(a.device->mutex);
            denied = a.device->faults.denyAccess;
        }
        if (denied) {
            systemError = error::AccessDenied;
            return nullptr;
        }
        systemError = error::Success;
        return std::make_unique<SimHandle>(log_, a.device, a.number);
    }
    systemError = error::FileNotFound;
    return nullptr;
}

std::unique_ptr<SimDriver> MakeSimDriver(const char* podIds, const char* faultWords) {
    const RunFaults faults = ParseRunFaults(faultWords ? faultWords : "", stderr);
    auto driver = std::make_unique<SimDriver>();
    auto attach = [&](uint16_t id) {
        auto pod = std::make_shared<VirtualPod>(id, faults.fullSpeed);
        pod->faults = faults.device;
        driver->Attach(std::move(pod));
    };
    std::string_view list = podIds ? podIds : "";
    int attached = 0;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string item(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        char* end = nullptr;
        const unsigned long id = std::strtoul(item.c_str(), &end, 0);
        if (item.empty() || *end != '\0' || id > 0xFFFF)
            continue;
        attach(static_cast<uint16_t>(id));
        ++attached;
    }
    if (attached == 0)
        attach(1);
    return driver;
}

} // namespace podcore::usb::sim
