// A USB device as the virtual driver sees it: its descriptors, standard requests, alternate
// settings and endpoint models. Derived devices add vendor requests and endpoint behaviour.
#pragma once

#include "usb/sim/descriptors.h"
#include "usb/sim/endpoint_model.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace podcore::usb::sim {

struct Setup {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;

    bool DeviceToHost() const { return (requestType & 0x80) != 0; }
    uint8_t Type() const { return (requestType >> 5) & 3; }
};

struct ControlAnswer {
    uint32_t usbdStatus = 0;
    uint32_t bytes = 0;
};

class VirtualDevice {
public:
    VirtualDevice(Bytes deviceDescriptor, std::vector<Bytes> configurations,
                  std::map<uint8_t, Bytes> strings);
    virtual ~VirtualDevice() = default;
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    // Guards the device state and its endpoint models; every call below expects it held.
    std::mutex mutex;

    // What the device reports; tests may replace these with malformed descriptors.
    Bytes deviceDescriptor;
    std::vector<Bytes> configurations; // by configuration index
    std::map<uint8_t, Bytes> strings;  // by string index; 0 lists the languages
    uint32_t driverVersion = 0x01050500;
    DeviceFaults faults;
    bool removed = false;

    // Answers a control transfer; `data` holds wLength bytes. A stall is a USBD status.
    ControlAnswer Control(const Setup& setup, uint8_t* data);
    // Completes a control transfer with the answer, or queues it on the default pipe while the
    // device does not answer at all.
    void SubmitControl(const Setup& setup, const PendingIo& io);
    uint8_t AltSetting() const { return altSetting_; }
    bool SelectAltSetting(uint8_t setting);
    // Address 0 is the default pipe; null when the current setting has no such endpoint.
    EndpointModel* Endpoint(uint8_t address);
    // Completes every queued transfer (of `owner` only, when given) with the error.
    void CancelAll(uint32_t systemError, uint32_t usbdStatus, const void* owner = nullptr);
    // Lets every endpoint answer what it can, after the device state changed.
    void ServiceAll();
    // Pulls the device out: from now on its requests fail and its queued transfers complete
    // with "device not connected"; the driver no longer lists it.
    void Unplug();

protected:
    virtual ControlAnswer VendorRequest(const Setup& setup, uint8_t* data);
    void AddEndpoint(std::unique_ptr<EndpointModel> endpoint);

private:
    ControlAnswer GetDescriptor(const Setup& setup, uint8_t* data) const;
    bool SettingHasEndpoint(uint8_t setting, uint8_t address) const;

    ControlPipe controlPipe_{faults};
    std::map<uint8_t, std::unique_ptr<EndpointModel>> endpoints_;
    uint8_t altSetting_ = 0;
};

} // namespace podcore::usb::sim
