#include "usb/sim/sim_handle.h"

#include "usb/request_buffers.h"
#include "usb/sim/sim_driver.h"
#include "usb/transfer_plan.h"
#include "usb/usbd_status.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace podcore::usb::sim {

namespace {
constexpr uint32_t kSizeRequestBytes = 5;
} // namespace

SimHandle::SimHandle(std::shared_ptr<RequestLog> log, std::shared_ptr<VirtualDevice> device,
                     int number)
    : log_(std::move(log)), device_(std::move(device)), number_(number) {}

SimHandle::~SimHandle() {
    std::lock_guard lock(device_->mutex);
    device_->CancelAll(error::OperationAborted, usbd::Canceled, this);
}

// Taken as the request arrives: once the device works on it, another thread may be writing
// the statuses into the header.
LoggedRequest SimHandle::Received(uint32_t code, const uint8_t* in, uint32_t inLength,
                                  uint32_t outLength) const {
    LoggedRequest entry;
    entry.device = number_;
    entry.code = code;
    entry.inputLength = inLength;
    entry.outputLength = outLength;
    if (in != nullptr)
        entry.input.assign(in, in + std::min(inLength, LoggedRequest::kKeptInput));
    return entry;
}

uint32_t SimHandle::Request(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                            uint32_t outLength, uint32_t& returned) {
    LoggedRequest entry = Received(code, in, inLength, outLength);
    {
        std::lock_guard lock(device_->mutex);
        if (device_->removed)
            entry.result = error::DeviceNotConnected;
        else if (IsTransferCode(code))
            entry.result = error::InvalidParameter; // transfers need an overlapped record
        else
            entry.result = Simple(code, in, inLength, out, outLength, returned);
    }
    const uint32_t result = entry.result;
    log_->Add(std::move(entry));
    return result;
}

uint32_t SimHandle::Simple(uint32_t code, const uint8_t* in, uint32_t inLength, uint8_t* out,
                           uint32_t outLength, uint32_t& returned) {
    VirtualDevice& device = *device_;
    RequestBuffers buffers(in, inLength, out, outLength, returned);
    switch (code) {
    case request::GetDriverVersion:
    case request::GetUsbdiVersion:
        if (!buffers.Holds(0, 4))
            return error::InsufficientBuffer;
        buffers.Reply32(code == request::GetDriverVersion ? device.driverVersion : kUsbdiVersion);
        return error::Success;
    case request::GetAltSetting:
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        buffers.ReplyByte(device.AltSetting());
        return error::Success;
    case request::SetAltSetting:
        if (!buffers.Holds(1, 0))
            return error::InvalidParameter;
        return device.SelectAltSetting(buffers.InByte()) ? error::Success : error::InvalidParameter;
    case request::GetAddress:
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        buffers.ReplyByte(static_cast<uint8_t>(number_ + 1));
        return error::Success;
    case request::ResetPipe:
    case request::AbortPipe: {
        if (!buffers.Holds(1, 0))
            return error::InvalidParameter;
        EndpointModel* endpoint = device.Endpoint(buffers.InByte());
        if (endpoint == nullptr)
            return error::InvalidParameter;
        if (code == request::AbortPipe)
            endpoint->Cancel(error::OperationAborted, usbd::Canceled, this);
        return error::Success;
    }
    case request::GetTransferSize:
    case request::SetTransferSize: {
        if (!buffers.Holds(kSizeRequestBytes, kSizeRequestBytes))
            return error::InvalidParameter;
        EndpointModel* endpoint = device.Endpoint(buffers.InByte());
        if (endpoint == nullptr || buffers.InByte() == 0)
            return error::InvalidParameter;
        if (code == request::SetTransferSize)
            endpoint->transferSize = buffers.InSize();
        buffers.ReplySize(buffers.InByte(), endpoint->transferSize);
        return error::Success;
    }
    case request::GetDeviceName:
    case request::GetFriendlyName:
        if (!buffers.Holds(0, 1))
            return error::InsufficientBuffer;
        buffers.ReplyText(code == request::GetDeviceName ? "\\\\.\\sim" + std::to_string(number_)
                                                         : std::string("Virtual Tarnwick device"));
        return error::Success;
    default:
        return error::InvalidFunction;
    }
}

uint32_t SimHandle::Submit(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                           uint32_t outLength, Overlapped& overlapped) {
    LoggedRequest entry = Received(code, in, inLength, outLength);
    {
        std::lock_guard lock(device_->mutex);
        if (device_->removed) {
            entry.result = error::DeviceNotConnected;
        } else if (IsTransferCode(code)) {
            entry.result = Transfer(code, in, inLength, out, outLength, overlapped);
        } else {
            // Simple requests complete at once, overlapped or not.
            uint32_t returned = 0;
            entry.result = Simple(code, in, inLength, out, outLength, returned);
            if (entry.result == error::Success) {
                overlapped.Arm();
                overlapped.Complete(error::Success, returned);
            }
        }
    }
    const uint32_t result = entry.result;
    log_->Add(std::move(entry));
    return result;
}

uint32_t SimHandle::Transfer(uint32_t code, uint8_t* in, uint32_t inLength, uint8_t* out,
                             uint32_t outLength, Overlapped& overlapped) {
    uint32_t systemError = error::Success;
    const auto plan = PlanTransfer(code, in, inLength, out, outLength, systemError);
    if (!plan)
        return systemError;
    PendingIo io;
    io.owner = this;
    io.overlapped = &overlapped;
    io.data = plan->data;
    io.length = plan->length;
    io.header = plan->statusHeader;
    io.reportedOffset = plan->reportedOffset;
    const TransferRequest& header = plan->header;
    const bool control = plan->control;
    EndpointModel* endpoint = device_->Endpoint(header.endpointAddress);
    if (endpoint == nullptr)
        return error::InvalidParameter;

    overlapped.Arm();
    if (control)
        device_->SubmitControl(
            {header.requestType, header.request, header.value, header.index, header.length}, io);
    else
        endpoint->Submit(io);
    return error::IoPending;
}

} // namespace podcore::usb::sim
