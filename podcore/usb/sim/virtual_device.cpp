#include "usb/sim/virtual_device.h"

#include "usb/usbd_status.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb::sim {

namespace {
constexpr uint8_t kGetDescriptor = 6;
constexpr uint8_t kStandard = 0;
constexpr uint8_t kVendor = 2;
constexpr ControlAnswer kStall{usbd::StallPid, 0};

// Visits each descriptor of a configuration that holds at least its first four bytes.
template <typename Visit> void WalkDescriptors(const Bytes& configuration, Visit visit) {
    const Bytes& c = configuration;
    for (size_t at = 0; at + 4 <= c.size() && c[at] >= 2; at += c[at])
        visit(&c[at]);
}
} // namespace

VirtualDevice::VirtualDevice(Bytes deviceDescriptor, std::vector<Bytes> configurations,
                             std::map<uint8_t, Bytes> strings)
    : deviceDescriptor(std::move(deviceDescriptor)), configurations(std::move(configurations)),
      strings(std::move(strings)) {}

ControlAnswer VirtualDevice::Control(const Setup& setup, uint8_t* data) {
    if (setup.Type() == kStandard && setup.request == kGetDescriptor && setup.DeviceToHost())
        return GetDescriptor(setup, data);
    if (setup.Type() == kVendor)
        return VendorRequest(setup, data);
    return kStall;
}

void VirtualDevice::SubmitControl(const Setup& setup, const PendingIo& io) {
    if (faults.unresponsive) {
        controlPipe_.Submit(io); // waits until aborted
        return;
    }
    const ControlAnswer answer = Control(setup, io.data);
    Complete(io, answer.usbdStatus, answer.bytes,
             answer.usbdStatus == 0 ? error::Success : error::GenFailure);
}

ControlAnswer VirtualDevice::VendorRequest(const Setup&, uint8_t*) {
    return kStall;
}

ControlAnswer VirtualDevice::GetDescriptor(const Setup& setup, uint8_t* data) const {
    const uint8_t type = setup.value >> 8;
    const uint8_t index = setup.value & 0xFF;
    const Bytes* descriptor = nullptr;
    if (type == 1 && index == 0)
        descriptor = &deviceDescriptor;
    else if (type == 2 && index < configurations.size())
        descriptor = &configurations[index];
    else if (type == 3 && strings.count(index) != 0)
        descriptor = &strings.at(index);
    if (descriptor == nullptr)
        return kStall;
    const auto bytes = std::min<uint32_t>(setup.length, static_cast<uint32_t>(descriptor->size()));
    std::memcpy(data, descriptor->data(), bytes);
    return ControlAnswer{0, bytes};
}

bool VirtualDevice::SelectAltSetting(uint8_t setting) {
    bool listed = false;
    if (!configurations.empty())
        WalkDescriptors(configurations[0], [&](const uint8_t* d) {
            listed = listed || (d[1] == 4 && d[3] == setting);
        });
    if (!listed)
        return false;
    if (setting != altSetting_)
        CancelAll(error::OperationAborted, usbd::Canceled);
    altSetting_ = setting;
    return true;
}

// Walks the device's own first configuration: the endpoints listed after the interface
// descriptor of `setting`.
bool VirtualDevice::SettingHasEndpoint(uint8_t setting, uint8_t address) const {
    if (configurations.empty())
        return false;
    bool inSetting = false;
    bool found = false;
    WalkDescriptors(configurations[0], [&](const uint8_t* d) {
        if (d[1] == 4)
            inSetting = d[3] == setting;
        else if (d[1] == 5 && inSetting && d[2] == address)
            found = true;
    });
    return found;
}

EndpointModel* VirtualDevice::Endpoint(uint8_t address) {
    if (address == 0)
        return &controlPipe_;
    const auto found = endpoints_.find(address);
    if (found == endpoints_.end() || !SettingHasEndpoint(altSetting_, address))
        return nullptr;
    return found->second.get();
}

void VirtualDevice::AddEndpoint(std::unique_ptr<EndpointModel> endpoint) {
    const uint8_t address = endpoint->Address();
    endpoints_[address] = std::move(endpoint);
}

void VirtualDevice::CancelAll(uint32_t systemError, uint32_t usbdStatus, const void* owner) {
    controlPipe_.Cancel(systemError, usbdStatus, owner);
    for (auto& [address, endpoint] : endpoints_)
        endpoint->Cancel(systemError, usbdStatus, owner);
}

void VirtualDevice::Unplug() {
    removed = true;
    CancelAll(error::DeviceNotConnected, usbd::DevNotResponding);
}

void VirtualDevice::ServiceAll() {
    for (auto& [address, endpoint] : endpoints_)
        endpoint->Service();
}

} // namespace podcore::usb::sim
