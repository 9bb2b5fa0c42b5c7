// An emulated USB bus for libusb inside the test process: a umockdev test bed whose sysfs lists
// the attached virtual devices with their descriptors and whose device nodes answer usbfs
// requests from the devices' models. The process must run with umockdev's preload library;
// libusb contexts must be created after the devices they are to see are attached.
#pragma once

#include "usb/sim/virtual_device.h"

#include <umockdev.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace usbfs {

class UsbfsDevice;

class UsbfsBus {
public:
    UsbfsBus();
    ~UsbfsBus();
    UsbfsBus(const UsbfsBus&) = delete;
    UsbfsBus& operator=(const UsbfsBus&) = delete;

    // Plugs the device into a port of bus 1 (0: the next one never used) and gives it the next
    // address. While its faults deny access, its node is read-only, as a node without the udev
    // rule is for a user.
    void Attach(std::shared_ptr<podcore::usb::sim::VirtualDevice> device, int port = 0);
    // Pulls the device out: its URBs fail, its node answers "no device" and it leaves sysfs.
    void Remove(const std::shared_ptr<podcore::usb::sim::VirtualDevice>& device);

private:
    struct Port {
        std::shared_ptr<podcore::usb::sim::VirtualDevice> device;
        std::string sysPath;
        std::shared_ptr<UsbfsDevice> node;
        UMockdevIoctlBase* handler;
    };
    void Watch();

    UMockdevTestbed* testbed_;
    std::string root_; // the test bed's folder
    std::mutex mutex_; // guards ports_
    std::vector<Port> ports_;
    int portsUsed_ = 0;
    int addressesUsed_ = 1; // the root hub's
    std::atomic<bool> stop_{false};
    std::thread watcher_; // reports the completions the devices make on their own
};

} // namespace usbfs
