#include "usbfs/usbfs_bus.h"

#include "usbfs/usbfs_device.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <sstream>

namespace usbfs {

namespace {

using podcore::usb::sim::VirtualDevice;

// A completion made by a device's own thread reaches libusb within this time.
constexpr auto kWatchPeriod = std::chrono::microseconds(500);

// The sysfs record of the device at `sysPath` with its node at `node`, as umockdev reads it:
// the udev properties (E:), the attributes (A:, each ending in a newline, written \n) and the
// descriptors libusb reads (H:, in hex).
std::string SysfsRecord(const std::string& sysPath, const std::string& node, int address,
                        const VirtualDevice& device) {
    std::ostringstream record;
    record << "P: " << sysPath.substr(std::strlen("/sys")) << "\n"
           << "N: " << node.substr(std::strlen("/dev/")) << "\n"
           << "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: BUSNUM=001\n"
           << "E: DEVNUM=" << std::setw(3) << std::setfill('0') << address << "\n"
           << "E: DEVNAME=" << node << "\n"
           << "A: busnum=1\\n\nA: devnum=" << address << "\\n\n"
           << "A: bConfigurationValue=1\\n\nA: speed=480\\n\n"
           << "H: descriptors=" << std::hex << std::setfill('0');
    auto bytes = device.deviceDescriptor;
    for (const auto& configuration : device.configurations)
        bytes.insert(bytes.end(), configuration.begin(), configuration.end());
    for (uint8_t byte : bytes)
        record << std::setw(2) << int{byte};
    record << "\n";
    return record.str();
}

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer node) {
    static_cast<UsbfsDevice*>(node)->Handle(client);
    return TRUE;
}

void ReleaseNode(gpointer node) {
    delete static_cast<std::shared_ptr<UsbfsDevice>*>(node);
}

} // namespace

UsbfsBus::UsbfsBus() : testbed_(umockdev_testbed_new()), watcher_([this] { Watch(); }) {
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    root_ = root;
    g_free(root);
}

UsbfsBus::~UsbfsBus() {
    stop_ = true;
    watcher_.join();
    // A handler outlives the bus while umockdev's worker thread still holds it; it keeps its
    // node alive for as long.
    for (Port& port : ports_)
        g_object_unref(port.handler);
    ports_.clear();
    g_object_unref(testbed_);
}

void UsbfsBus::Attach(std::shared_ptr<VirtualDevice> device, int port) {
    if (port == 0)
        port = portsUsed_ + 1;
    portsUsed_ = std::max(portsUsed_, port);
    const int address = ++addressesUsed_;
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", address);
    const std::string sysPath = "/sys/devices/usb1/1-" + std::to_string(port);

    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    umockdev_testbed_attach_ioctl(testbed_, node, handler, nullptr);
    umockdev_testbed_add_from_string(testbed_, SysfsRecord(sysPath, node, address, *device).c_str(),
                                     nullptr);
    const std::string nodeFile = root_ + node;
    auto usbfsNode = std::make_shared<UsbfsDevice>(device, nodeFile);
    bool denied = false;
    {
        std::lock_guard lock(device->mutex);
        denied = device->faults.denyAccess;
    }
    ::chmod(nodeFile.c_str(), denied ? 0444 : 0664);
    g_object_set_data_full(G_OBJECT(handler), "usbfs-node",
                           new std::shared_ptr<UsbfsDevice>(usbfsNode), ReleaseNode);
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), usbfsNode.get());

    std::lock_guard lock(mutex_);
    ports_.push_back({std::move(device), sysPath, std::move(usbfsNode), handler});
}

void UsbfsBus::Remove(const std::shared_ptr<VirtualDevice>& device) {
    std::lock_guard lock(mutex_);
    for (const Port& port : ports_) {
        if (port.device != device)
            continue;
        port.node->Unplug();
        umockdev_testbed_uevent(testbed_, port.sysPath.c_str(), "remove");
        umockdev_testbed_remove_device(testbed_, port.sysPath.c_str());
    }
}

void UsbfsBus::Watch() {
    while (!stop_) {
        std::this_thread::sleep_for(kWatchPeriod);
        std::lock_guard lock(mutex_);
        for (const Port& port : ports_)
            port.node->Watch();
    }
}

} // namespace usbfs
