// One emulated usbfs device node (/dev/bus/usb/BBB/DDD) answering libusb's requests from a
// virtual device's model, as the kernel does for a real device: URBs are submitted to the
// model's endpoints and reaped once the model completed them, discarded on request and failed
// with the device once it is unplugged; interface claims, settings and halts go to the model.
//
// umockdev carries each request of the process under test to its worker thread, where this
// answers it. The node itself is a pipe that is full (not writable) while nothing waits to be
// reaped: libusb polls the node for writability, as it polls the kernel's node.
#pragma once

#include "usb/driver.h"
#include "usb/sim/virtual_device.h"
#include "usb/transfer_request.h"

#include <umockdev.h>

#include <array>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace usbfs {

class UsbfsDevice {
public:
    // `node` is the device node's path inside the test bed; it is made a pipe here.
    UsbfsDevice(std::shared_ptr<podcore::usb::sim::VirtualDevice> device, const std::string& node);
    // Kills the URBs still submitted, so that the model keeps no pointer into them.
    ~UsbfsDevice();
    UsbfsDevice(const UsbfsDevice&) = delete;
    UsbfsDevice& operator=(const UsbfsDevice&) = delete;

    // Answers one request of a client of the node (umockdev's worker thread).
    void Handle(UMockdevIoctlClient* client);
    // Lets libusb know about URBs that the model completed on its own (the streams).
    void Watch();
    // The device is pulled out: every URB fails and the node answers "no device".
    void Unplug();

private:
    struct Urb {
        ~Urb();
        UMockdevIoctlData* data = nullptr; // the client's urb, its buffer resolved
        podcore::usb::Overlapped done;
        std::array<uint8_t, podcore::usb::TransferRequest::kSize> header{}; // statuses
    };

    int Answer(unsigned long request, UMockdevIoctlData* arg, std::unique_ptr<Urb>& reaped);
    int Submit(UMockdevIoctlData* arg);
    int Reap(UMockdevIoctlData* arg, std::unique_ptr<Urb>& reaped);
    int Discard(unsigned long address);
    int SetInterface(UMockdevIoctlData* arg);
    int ClearHalt(UMockdevIoctlData* arg);
    static int Capabilities(UMockdevIoctlData* arg);
    // The node is writable exactly while some URB waits to be reaped. Called under mutex_.
    void ShowReadiness();

    std::shared_ptr<podcore::usb::sim::VirtualDevice> device_;
    int pipe_ = -1;     // our end of the node
    bool ready_ = true; // as the empty pipe shows, until it is first filled
    std::mutex mutex_;  // guards the fields below; taken before the device's lock
    std::list<std::unique_ptr<Urb>> urbs_; // submitted and not yet reaped, in order
};

} // namespace usbfs
