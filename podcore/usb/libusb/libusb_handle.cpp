#include "usb/libusb/libusb_handle.h"

#include "usb/libusb/request_translation.h"
#include "usb/request_buffers.h"

#include <libusb.h>

#include <algorithm>
#include <cstring>

namespace podcore::usb::libusb {

namespace {
constexpr int kInterface = 0;
constexpr uint32_t kDriverVersion = 0x01050500; // data moves straight to the caller's buffer
constexpr uint32_t kDefaultTransferSize = 4096;
constexpr unsigned kSimpleTimeout = 1000;
constexpr uint32_t kSizeRequestBytes = 5;
constexpr uint8_t kInterfaceIn = 0x81; // device to host, standard, interface

} // namespace

SharedPod::SharedPod(std::shared_ptr<LibusbContext> context, libusb_device_handle* handle)
    : context(std::move(context)), handle(handle) {
    ReadEndpointTypes();
}

SharedPod::~SharedPod() {
    libusb_release_interface(handle, kInterface);
    libusb_close(handle);
}

void SharedPod::ReadEndpointTypes() {
    endpointTypes.clear();
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(libusb_get_device(handle), &config) != 0)
        return;
    if (config->bNumInterfaces > kInterface) {
        const libusb_interface& interface = config->interface[kInterface];
        for (int a = 0; a < interface.num_altsetting; ++a) {
            const libusb_interface_descriptor& setting = interface.altsetting[a];
            if (setting.bAlternateSetting != altSetting)
                continue;
            for (int e = 0; e < setting.bNumEndpoints; ++e)
                endpointTypes[setting.endpoint[e].bEndpointAddress] =
                    setting.endpoint[e].bmAttributes & 3;
        }
    }
    libusb_free_config_descriptor(config);
}

LibusbHandle::LibusbHandle(std::shared_ptr<SharedPod> pod, std::string path)
    : pod_(std::move(pod)), handle_(pod_->handle), path_(std::move(path)) {}

LibusbHandle::~LibusbHandle() {
    std::unique_lock lock(mutex_);
    for (InFlight* flight : inFlight_)
        libusb_cancel_transfer(flight->transfer);
    drained_.wait(lock, [this] { return inFlight_.empty(); });
}

bool LibusbHandle::HasEndpoint(uint8_t address) {
    std::lock_guard lock(pod_->mutex);
    return pod_->endpointTypes.count(address) != 0;
}

uint32_t LibusbHandle::Request(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                               uint32_t outLength, uint32_t& returned) {
    RequestBuffers buffers(in, inLength, out, outLength, returned);
    switch (code) {
    case request::GetDriverVersion:
    case request::GetUsbdiVersion:
        if (!buffers.Holds(0, 4))
            return error::InsufficientBuffer;
        buffers.Reply32(code == request::GetDriverVersion ? kDriverVersion : kUsbdiVersion);
        return error::Success;
    case request::GetAltSetting: {
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        uint8_t setting = 0;
        const int got = libusb_control_transfer(handle_, kInterfaceIn, LIBUSB_REQUEST_GET_INTERFACE,
                                                0, kInterface, &setting, 1, kSimpleTimeout);
        // Devices with a single setting may stall GET_INTERFACE; the last one chosen stands.
        std::lock_guard lock(pod_->mutex);
        buffers.ReplyByte(got == 1 ? setting : pod_->altSetting);
        return error::Success;
    }
    case request::SetAltSetting: {
        if (!buffers.Holds(1, 0))
            return error::InvalidParameter;
        const int result = libusb_set_interface_alt_setting(handle_, kInterface, buffers.InByte());
        if (result != 0)
            return SystemErrorOf(result);
        std::lock_guard lock(pod_->mutex);
        pod_->altSetting = buffers.InByte();
        pod_->ReadEndpointTypes();
        return error::Success;
    }
    case request::GetAddress:
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        buffers.ReplyByte(libusb_get_device_address(libusb_get_device(handle_)));
        return error::Success;
    case request::ResetPipe:
    case request::AbortPipe: {
        if (!buffers.Holds(1, 0))
            return error::InvalidParameter;
        const uint8_t address = buffers.InByte();
        if (address != 0 && !HasEndpoint(address))
            return error::InvalidParameter;
        if (code == request::AbortPipe) {
            CancelEndpoint(address);
            return error::Success;
        }
        return address == 0 ? error::Success : SystemErrorOf(libusb_clear_halt(handle_, address));
    }
    case request::GetTransferSize:
    case request::SetTransferSize: {
        if (!buffers.Holds(kSizeRequestBytes, kSizeRequestBytes) || !HasEndpoint(buffers.InByte()))
            return error::InvalidParameter;
        std::lock_guard lock(pod_->mutex);
        auto [size, added] =
            pod_->transferSizes.try_emplace(buffers.InByte(), kDefaultTransferSize);
        if (code == request::SetTransferSize)
            size->second = buffers.InSize();
        buffers.ReplySize(buffers.InByte(), size->second);
        return error::Success;
    }
    case request::GetDeviceName:
    case request::GetFriendlyName:
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        buffers.ReplyText(code == request::GetDeviceName ? path_ : "Tarnwick pod (libusb)");
        return error::Success;
    default:
        return IsTransferCode(code) ? error::InvalidParameter : error::InvalidFunction;
    }
}

uint32_t LibusbHandle::Submit(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                              uint32_t outLength, Overlapped& overlapped) {
    if (!IsTransferCode(code)) {
        uint32_t returned = 0;
        const uint32_t result = Request(code, in, inLength, out, outLength, returned);
        if (result == error::Success) {
            overlapped.Arm();
            overlapped.Complete(error::Success, returned);
        }
        return result;
    }
    uint32_t systemError = error::Success;
    auto plan = PlanTransfer(code, in, inLength, out, outLength, systemError);
    if (!plan)
        return systemError;
    if (plan->length > static_cast<uint32_t>(INT32_MAX))
        return error::InvalidParameter;

    auto flight = std::make_unique<InFlight>(
        InFlight{this, libusb_alloc_transfer(0), *plan, &overlapped, {}});
    if (flight->transfer == nullptr)
        return error::GenFailure;
    libusb_transfer* transfer = flight->transfer;
    const int length = static_cast<int>(plan->length);
    if (plan->control) {
        const auto setup = SetupPacket(plan->header);
        flight->controlBuffer.assign(LIBUSB_CONTROL_SETUP_SIZE + plan->length, 0);
        std::copy(setup.begin(), setup.end(), flight->controlBuffer.begin());
        if (!plan->deviceToHost && length != 0)
            std::memcpy(flight->controlBuffer.data() + LIBUSB_CONTROL_SETUP_SIZE, plan->data,
                        plan->length);
        libusb_fill_control_transfer(transfer, handle_, flight->controlBuffer.data(), Finished,
                                     flight.get(), ControlTimeout(plan->header));
    } else {
        std::lock_guard lock(pod_->mutex);
        const auto type = pod_->endpointTypes.find(plan->header.endpointAddress);
        if (type == pod_->endpointTypes.end() || (type->second != LIBUSB_TRANSFER_TYPE_BULK &&
                                                  type->second != LIBUSB_TRANSFER_TYPE_INTERRUPT)) {
            libusb_free_transfer(transfer);
            return error::InvalidParameter;
        }
        // Bulk and interrupt transfers have no time limit here: the layer above times out
        // and aborts, as it does with the kernel driver.
        if (type->second == LIBUSB_TRANSFER_TYPE_BULK)
            libusb_fill_bulk_transfer(transfer, handle_, plan->header.endpointAddress, plan->data,
                                      length, Finished, flight.get(), 0);
        else
            libusb_fill_interrupt_transfer(transfer, handle_, plan->header.endpointAddress,
                                           plan->data, length, Finished, flight.get(), 0);
    }
    overlapped.Arm();
    std::lock_guard lock(mutex_);
    const int result = libusb_submit_transfer(transfer);
    if (result != 0) {
        libusb_free_transfer(transfer);
        overlapped.Complete(SystemErrorOf(result), 0);
        return SystemErrorOf(result);
    }
    inFlight_.push_back(flight.release());
    return error::IoPending;
}

void LibusbHandle::Finished(libusb_transfer* transfer) {
    auto* flight = static_cast<InFlight*>(transfer->user_data);
    flight->owner->Finish(flight);
}

void LibusbHandle::Finish(InFlight* flight) {
    libusb_transfer* transfer = flight->transfer;
    const Outcome outcome = TransferOutcome(transfer->status);
    const TransferPlan& plan = flight->plan;
    auto moved = static_cast<uint32_t>(std::max(transfer->actual_length, 0));
    if (plan.control && plan.deviceToHost)
        std::memcpy(plan.data, flight->controlBuffer.data() + LIBUSB_CONTROL_SETUP_SIZE,
                    std::min(moved, plan.length));
    TransferRequest::WriteStatus(plan.statusHeader, outcome.systemError, outcome.usbdStatus);
    const uint32_t reported =
        outcome.systemError == error::Success || moved != 0 ? plan.reportedOffset + moved : 0;
    Overlapped* overlapped = flight->overlapped;
    // Under the lock: a cancel walks the list of transfers in flight, and the closing handle
    // may go as soon as it sees nothing in flight. The transfer leaves the list before it is
    // freed.
    std::lock_guard lock(mutex_);
    std::erase(inFlight_, flight);
    libusb_free_transfer(transfer);
    delete flight;
    overlapped->Complete(outcome.systemError, reported);
    drained_.notify_all();
}

void LibusbHandle::CancelEndpoint(uint8_t address) {
    std::lock_guard lock(mutex_);
    for (InFlight* flight : inFlight_)
        if (flight->plan.header.endpointAddress == address)
            libusb_cancel_transfer(flight->transfer);
}

} // namespace podcore::usb::libusb
