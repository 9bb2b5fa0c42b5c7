#include "usbfs/usbfs_device.h"

#include "little_endian.h"
#include "usb/usbd_status.h"

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace usbfs {

namespace {

using podcore::usb::error::DeviceNotConnected;
using podcore::usb::error::OperationAborted;
using podcore::usb::error::Success;
using podcore::usb::sim::PendingIo;
using podcore::usb::sim::Setup;

constexpr size_t kSetupBytes = 8;
// What usbfs lets one URB carry by default (its usbfs_memory_mb limit is far above this).
constexpr int kMaxUrbBytes = 16 << 20;

// The URB status the kernel reports for how the model completed a transfer.
int UrbStatus(uint32_t systemError, uint32_t usbdStatus) {
    switch (systemError) {
    case Success:
        return 0;
    case OperationAborted:
        return -ENOENT; // killed, as a discarded URB is
    case DeviceNotConnected:
        return -ESHUTDOWN;
    default:
        return usbdStatus == podcore::usb::usbd::DataOverrun ? -EOVERFLOW : -EPIPE;
    }
}

// The ioctl argument as the structure it points to, copied from the client.
UMockdevIoctlData* Resolve(UMockdevIoctlData* arg, size_t bytes) {
    return umockdev_ioctl_data_resolve(arg, 0, bytes, nullptr);
}

struct Unref {
    void operator()(UMockdevIoctlData* data) const { g_object_unref(data); }
};
using Resolved = std::unique_ptr<UMockdevIoctlData, Unref>;

// Reads or writes until the pipe would block.
void Exhaust(int fd, bool write) {
    char bytes[4096] = {};
    while ((write ? ::write(fd, bytes, sizeof bytes) : ::read(fd, bytes, sizeof bytes)) > 0) {
    }
}

} // namespace

UsbfsDevice::Urb::~Urb() {
    if (data != nullptr)
        g_object_unref(data);
}

UsbfsDevice::UsbfsDevice(std::shared_ptr<podcore::usb::sim::VirtualDevice> device,
                         const std::string& node)
    : device_(std::move(device)) {
    ::unlink(node.c_str());
    if (::mkfifo(node.c_str(), 0664) != 0 ||
        (pipe_ = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) < 0)
        throw std::runtime_error("cannot make the device node " + node);
    // One page is the least a pipe holds; filling it takes one write.
    ::fcntl(pipe_, F_SETPIPE_SZ, 4096);
    std::lock_guard lock(mutex_);
    ShowReadiness();
}

UsbfsDevice::~UsbfsDevice() {
    {
        std::lock_guard lock(device_->mutex);
        for (const auto& urb : urbs_)
            device_->CancelAll(OperationAborted, podcore::usb::usbd::Canceled, urb.get());
    }
    ::close(pipe_);
}

void UsbfsDevice::Handle(UMockdevIoctlClient* client) {
    std::unique_ptr<Urb> reaped; // released once the client has its copy
    const int error = Answer(umockdev_ioctl_client_get_request(client),
                             umockdev_ioctl_client_get_arg(client), reaped);
    umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
}

int UsbfsDevice::Answer(unsigned long request, UMockdevIoctlData* arg,
                        std::unique_ptr<Urb>& reaped) {
    // A removed device still hands back its URBs; everything else fails.
    const bool reap = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
    if (!reap) {
        std::lock_guard lock(device_->mutex);
        if (device_->removed)
            return ENODEV;
    }
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES:
        return Capabilities(arg);
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
        return 0;
    case USBDEVFS_IOCTL:
    case USBDEVFS_GETDRIVER:
        return ENODATA; // no kernel driver is bound to the interface
    case USBDEVFS_SETINTERFACE:
        return SetInterface(arg);
    case USBDEVFS_CLEAR_HALT:
        return ClearHalt(arg);
    case USBDEVFS_SUBMITURB:
        return Submit(arg);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
        return Reap(arg, reaped);
    case USBDEVFS_DISCARDURB:
        return Discard(*reinterpret_cast<unsigned long*>(arg->data));
    default:
        return ENOTTY;
    }
}

int UsbfsDevice::Capabilities(UMockdevIoctlData* arg) {
    Resolved caps(Resolve(arg, sizeof(uint32_t)));
    if (!caps)
        return EFAULT;
    // One URB per transfer of any size, and URBs reaped after a disconnect, as on a current
    // kernel with a scatter-gather capable host controller.
    const uint32_t bits = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                          USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_BULK_SCATTER_GATHER |
                          USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
    std::memcpy(caps->data, &bits, sizeof bits);
    return 0;
}

int UsbfsDevice::SetInterface(UMockdevIoctlData* arg) {
    Resolved setting(Resolve(arg, sizeof(usbdevfs_setinterface)));
    if (!setting)
        return EFAULT;
    const auto* request = reinterpret_cast<const usbdevfs_setinterface*>(setting->data);
    std::lock_guard lock(mutex_);
    std::lock_guard deviceLock(device_->mutex);
    if (request->interface != 0 || request->altsetting > 0xFF ||
        !device_->SelectAltSetting(static_cast<uint8_t>(request->altsetting)))
        return EINVAL;
    ShowReadiness(); // a change of setting cancels the old setting's URBs
    return 0;
}

int UsbfsDevice::ClearHalt(UMockdevIoctlData* arg) {
    Resolved endpoint(Resolve(arg, sizeof(unsigned int)));
    if (!endpoint)
        return EFAULT;
    const unsigned int address = *reinterpret_cast<const unsigned int*>(endpoint->data);
    std::lock_guard lock(device_->mutex);
    return address <= 0xFF && device_->Endpoint(static_cast<uint8_t>(address)) != nullptr ? 0
                                                                                          : ENOENT;
}

int UsbfsDevice::Submit(UMockdevIoctlData* arg) {
    auto urb = std::make_unique<Urb>();
    urb->data = Resolve(arg, sizeof(usbdevfs_urb));
    if (urb->data == nullptr)
        return EFAULT;
    auto* request = reinterpret_cast<usbdevfs_urb*>(urb->data->data);
    const bool control = request->type == USBDEVFS_URB_TYPE_CONTROL;
    if (request->buffer_length < 0 || request->buffer_length > kMaxUrbBytes ||
        (control && request->buffer_length < static_cast<int>(kSetupBytes)) ||
        (!control && request->type != USBDEVFS_URB_TYPE_BULK &&
         request->type != USBDEVFS_URB_TYPE_INTERRUPT))
        return EINVAL;
    uint8_t* bytes = nullptr;
    if (request->buffer_length > 0) {
        Resolved buffer(umockdev_ioctl_data_resolve(urb->data, offsetof(usbdevfs_urb, buffer),
                                                    request->buffer_length, nullptr));
        if (!buffer)
            return EFAULT;
        bytes = buffer->data; // kept alive by the urb it belongs to
    }

    PendingIo io;
    io.owner = urb.get();
    io.data = bytes;
    io.length = static_cast<uint32_t>(request->buffer_length);
    io.header = urb->header.data();
    io.overlapped = &urb->done;
    Setup setup;
    if (control) {
        setup = {bytes[0], bytes[1], podcore::GetLittleEndian16(bytes + 2),
                 podcore::GetLittleEndian16(bytes + 4), podcore::GetLittleEndian16(bytes + 6)};
        if (setup.length > io.length - kSetupBytes)
            return EINVAL;
        io.data = bytes + kSetupBytes;
        io.length = setup.length;
    }

    std::lock_guard lock(mutex_);
    {
        std::lock_guard deviceLock(device_->mutex);
        podcore::usb::sim::EndpointModel* endpoint = device_->Endpoint(request->endpoint);
        if (endpoint == nullptr || (control != (request->endpoint == 0)))
            return ENOENT;
        urb->done.Arm();
        if (control)
            device_->SubmitControl(setup, io);
        else
            endpoint->Submit(io);
    }
    urbs_.push_back(std::move(urb));
    ShowReadiness();
    return 0;
}

int UsbfsDevice::Reap(UMockdevIoctlData* arg, std::unique_ptr<Urb>& reaped) {
    std::lock_guard lock(mutex_);
    auto found = urbs_.begin();
    while (found != urbs_.end() && !(*found)->done.Done())
        ++found;
    if (found == urbs_.end()) {
        std::lock_guard deviceLock(device_->mutex);
        return device_->removed ? ENODEV : EAGAIN;
    }
    Resolved where(Resolve(arg, sizeof(void*)));
    if (!where)
        return EFAULT;
    uint32_t bytes = 0, systemError = 0;
    (*found)->done.Result(bytes, systemError);
    auto* urb = reinterpret_cast<usbdevfs_urb*>((*found)->data->data);
    urb->status = UrbStatus(
        systemError, podcore::usb::TransferRequest::DecodeFrom((*found)->header.data()).usbdStatus);
    urb->actual_length = static_cast<int>(bytes);
    umockdev_ioctl_data_set_ptr(where.get(), 0, (*found)->data);
    reaped = std::move(*found);
    urbs_.erase(found);
    ShowReadiness();
    return 0;
}

int UsbfsDevice::Discard(unsigned long address) {
    std::lock_guard lock(mutex_);
    for (const auto& urb : urbs_) {
        if (urb->data->client_addr != address)
            continue;
        if (urb->done.Done())
            return EINVAL; // completed already: it waits to be reaped
        {
            std::lock_guard deviceLock(device_->mutex);
            device_->CancelAll(OperationAborted, podcore::usb::usbd::Canceled, urb.get());
        }
        ShowReadiness();
        return 0;
    }
    return EINVAL;
}

void UsbfsDevice::Watch() {
    std::lock_guard lock(mutex_);
    ShowReadiness();
}

void UsbfsDevice::Unplug() {
    std::lock_guard lock(mutex_);
    {
        std::lock_guard deviceLock(device_->mutex);
        device_->Unplug();
    }
    ShowReadiness();
}

void UsbfsDevice::ShowReadiness() {
    bool waiting = false;
    for (const auto& urb : urbs_)
        waiting = waiting || urb->done.Done();
    if (waiting != ready_)
        Exhaust(pipe_, !waiting);
    ready_ = waiting;
}

} // namespace usbfs
