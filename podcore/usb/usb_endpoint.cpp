#include "usb/usb_endpoint.h"

#include "little_endian.h"
#include "usb/transfer_request.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb {

namespace {
constexpr uint32_t kPacketInfoBytes = 8;
constexpr uint32_t kTransferSizeRequestBytes = 5;
} // namespace

EndpointDescriptor EndpointDescriptor::Parse(const uint8_t* bytes) {
    EndpointDescriptor d;
    d.length = bytes[0];
    d.type = bytes[1];
    d.address = bytes[2];
    d.attributes = bytes[3];
    d.maxPacketSize = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
    d.interval = bytes[6];
    return d;
}

PendingTransfer::~PendingTransfer() {
    if (!inFlight_ || overlapped_->Done())
        return;
    uint8_t address = address_;
    uint32_t returned = 0;
    handle_->Request(request::AbortPipe, &address, 1, &address, 1, returned);
    overlapped_->Wait(kInfinite);
}

UsbEndpoint::UsbEndpoint(DeviceHandle* handle, const EndpointDescriptor& d)
    : handle(handle), descriptorLength(d.length), descriptorType(d.type), address(d.address),
      attributes(d.attributes),
      MaxPacketSize((d.maxPacketSize & 0x7FFu) * (((d.maxPacketSize >> 11) & 3u) + 1)),
      TransactionsPerMicroframe(((d.maxPacketSize >> 11) & 3u) + 1), Interval(d.interval),
      IsIn((d.address & 0x80) != 0) {}

std::unique_ptr<PendingTransfer> UsbEndpoint::NewTransfer(Overlapped& overlapped, uint32_t bytes) {
    std::unique_ptr<PendingTransfer> transfer(new PendingTransfer(handle, address, overlapped));
    transfer->bytes_.assign(bytes, 0);
    return transfer;
}

std::unique_ptr<PendingTransfer> UsbEndpoint::Start(std::unique_ptr<PendingTransfer> transfer,
                                                    uint32_t code, uint8_t* out,
                                                    uint32_t outLength) {
    uint8_t* in = transfer->bytes_.data();
    const auto inLength = static_cast<uint32_t>(transfer->bytes_.size());
    LastError = handle->Submit(code, in, inLength, out, outLength, *transfer->overlapped_);
    transfer->inFlight_ = LastError == error::IoPending;
    return transfer;
}

std::unique_ptr<PendingTransfer> UsbEndpoint::BeginTransfer(uint8_t* buffer, uint32_t length,
                                                            Overlapped& overlapped) {
    if (DirectTransfers == 1)
        return BeginDirect(buffer, length, overlapped);
    return BeginBuffered(buffer, length, overlapped);
}

std::unique_ptr<PendingTransfer> UsbEndpoint::NewDataTransfer(const uint8_t* buffer,
                                                              uint32_t length, bool buffered,
                                                              Overlapped& overlapped) {
    if (handle == nullptr)
        return nullptr;
    uint64_t packetArea = 0;
    if (Isochronous()) {
        const uint64_t packets =
            MaxPacketSize == 0 ? 0 : (uint64_t{length} + MaxPacketSize - 1) / MaxPacketSize;
        packetArea = packets * kPacketInfoBytes;
    }
    const uint64_t headerBytes = TransferRequest::kSize + packetArea;
    const uint64_t requestBytes = headerBytes + (buffered ? length : 0);
    // No packet means no isochronous transfer; and the driver's byte counts are 32 bits wide.
    if ((Isochronous() && packetArea == 0) || requestBytes > UINT32_MAX) {
        LastError = error::InvalidParameter;
        return nullptr;
    }
    auto transfer = NewTransfer(overlapped, static_cast<uint32_t>(requestBytes));
    TransferRequest header;
    header.endpointAddress = address;
    if (packetArea != 0) {
        header.packetInfoOffset = TransferRequest::kSize;
        header.packetInfoLength = static_cast<uint32_t>(packetArea);
    }
    if (buffered) {
        header.dataOffset = static_cast<uint32_t>(headerBytes);
        header.dataLength = length;
        if (length != 0 && buffer != nullptr)
            std::memcpy(transfer->bytes_.data() + headerBytes, buffer, length);
        transfer->buffered_ = true;
        transfer->dataOffset_ = header.dataOffset;
    }
    header.EncodeTo(transfer->bytes_.data());
    transfer->packetAreaLength_ = header.packetInfoLength;
    return transfer;
}

// The caller's buffer is the driver's output buffer: the data moves without a copy.
std::unique_ptr<PendingTransfer> UsbEndpoint::BeginDirect(uint8_t* buffer, uint32_t length,
                                                          Overlapped& overlapped) {
    auto transfer = NewDataTransfer(buffer, length, false, overlapped);
    if (!transfer)
        return nullptr;
    return Start(std::move(transfer), request::DirectTransfer, buffer, length);
}

// One buffer of header and data that the driver updates in place.
std::unique_ptr<PendingTransfer> UsbEndpoint::BeginBuffered(uint8_t* buffer, uint32_t length,
                                                            Overlapped& overlapped) {
    auto transfer = NewDataTransfer(buffer, length, true, overlapped);
    if (!transfer)
        return nullptr;
    uint8_t* bytes = transfer->bytes_.data();
    const auto size = static_cast<uint32_t>(transfer->bytes_.size());
    return Start(std::move(transfer), request::BufferedTransfer, bytes, size);
}

bool UsbEndpoint::WaitForTransfer(Overlapped& overlapped, uint32_t milliseconds) {
    if (LastError == error::Success)
        return true;
    if (LastError == error::IoPending)
        return overlapped.Wait(milliseconds);
    return false;
}

bool UsbEndpoint::FinishTransfer(uint8_t* buffer, uint32_t& length, Overlapped& overlapped,
                                 std::unique_ptr<PendingTransfer> request, uint8_t* packetInfo) {
    if (!request) {
        length = 0;
        BytesTransferred = 0;
        return false;
    }
    const uint32_t requested = length;
    uint32_t reported = 0;
    uint32_t systemError = 0;
    const bool completed = overlapped.Result(reported, systemError);
    if (completed || systemError != error::IoIncomplete)
        request->inFlight_ = false;
    const uint32_t moved = reported > request->dataOffset_ ? reported - request->dataOffset_ : 0;
    length = moved;
    BytesTransferred = moved;
    const TransferRequest header = TransferRequest::DecodeFrom(request->bytes_.data());
    UsbdStatus = header.usbdStatus;
    SystemStatus = header.systemStatus;
    if (IsIn && request->buffered_ && buffer != nullptr)
        std::memcpy(buffer, request->bytes_.data() + request->dataOffset_,
                    std::min(moved, requested));
    if (packetInfo != nullptr && request->packetAreaLength_ != 0)
        std::memcpy(packetInfo, request->bytes_.data() + TransferRequest::kSize,
                    request->packetAreaLength_);
    request.reset();
    return completed && UsbdStatus == 0 && SystemStatus == 0;
}

bool UsbEndpoint::TransferData(uint8_t* buffer, uint32_t& length, uint8_t* packetInfo) {
    Overlapped overlapped;
    auto request = BeginTransfer(buffer, length, overlapped);
    if (!request) {
        length = 0;
        return false;
    }
    bool waited = false;
    if (LastError == error::Success) {
        waited = true;
    } else if (LastError == error::IoPending) {
        waited = overlapped.Wait(Timeout);
        if (!waited) {
            Abort();
            overlapped.Wait(kInfinite);
        }
    }
    const bool finished =
        FinishTransfer(buffer, length, overlapped, std::move(request), packetInfo);
    return waited && finished;
}

bool UsbEndpoint::SimpleRequest(uint32_t code, uint8_t* bytes, uint32_t length,
                                uint32_t& returned) {
    returned = 0;
    if (handle == nullptr)
        return false;
    return handle->Request(code, bytes, length, bytes, length, returned) == error::Success;
}

bool UsbEndpoint::Abort() {
    uint8_t pipe = address;
    uint32_t returned = 0;
    return SimpleRequest(request::AbortPipe, &pipe, 1, returned);
}

bool UsbEndpoint::Reset() {
    uint8_t pipe = address;
    uint32_t returned = 0;
    return SimpleRequest(request::ResetPipe, &pipe, 1, returned);
}

void UsbEndpoint::SetTransferSize(uint32_t size) {
    if (MaxPacketSize != 0 && size % MaxPacketSize != 0)
        size += MaxPacketSize - size % MaxPacketSize;
    uint8_t bytes[kTransferSizeRequestBytes] = {address};
    PutLittleEndian32(bytes + 1, size);
    uint32_t returned = 0;
    SimpleRequest(request::SetTransferSize, bytes, sizeof bytes, returned);
}

uint32_t UsbEndpoint::GetTransferSize() {
    uint8_t bytes[kTransferSizeRequestBytes] = {address};
    uint32_t returned = 0;
    if (!SimpleRequest(request::GetTransferSize, bytes, sizeof bytes, returned) ||
        returned < kTransferSizeRequestBytes)
        return 0;
    return GetLittleEndian32(bytes + 1);
}

ControlEndpoint::ControlEndpoint(DeviceHandle* handle, const EndpointDescriptor& descriptor)
    : UsbEndpoint(handle, descriptor) {
    DirectTransfers = 0;
}

std::unique_ptr<PendingTransfer> ControlEndpoint::BeginTransfer(uint8_t* buffer, uint32_t length,
                                                                Overlapped& overlapped) {
    if (handle == nullptr)
        return nullptr;
    if (length > 0xFFFF) {
        // wLength of a setup packet cannot say more.
        LastError = error::InvalidParameter;
        return nullptr;
    }
    IsIn = Direction == kDeviceToHost;
    auto transfer = NewTransfer(overlapped, TransferRequest::kSize + length);
    TransferRequest header;
    header.requestType =
        static_cast<uint8_t>(Direction << 7 | (RequestType & 3) << 5 | (Recipient & 0x1F));
    header.request = Request;
    header.value = Value;
    header.index = Index;
    header.length = static_cast<uint16_t>(length);
    header.timeout = Timeout > 0 && Timeout < 1000 ? 1 : Timeout / 1000;
    header.endpointAddress = 0;
    header.dataOffset = TransferRequest::kSize;
    header.dataLength = length;
    header.EncodeTo(transfer->bytes_.data());
    if (length != 0 && buffer != nullptr)
        std::memcpy(transfer->bytes_.data() + TransferRequest::kSize, buffer, length);
    transfer->buffered_ = true;
    transfer->dataOffset_ = TransferRequest::kSize;
    uint8_t* bytes = transfer->bytes_.data();
    const auto size = static_cast<uint32_t>(transfer->bytes_.size());
    return Start(std::move(transfer), request::ControlTransfer, bytes, size);
}

bool ControlEndpoint::Read(uint8_t* buffer, uint32_t& length) {
    Direction = kDeviceToHost;
    return TransferData(buffer, length);
}

bool ControlEndpoint::Write(uint8_t* buffer, uint32_t& length) {
    Direction = kHostToDevice;
    return TransferData(buffer, length);
}

std::unique_ptr<UsbEndpoint> MakeEndpoint(DeviceHandle* handle,
                                          const EndpointDescriptor& descriptor) {
    switch (descriptor.attributes) {
    case 0:
        return std::make_unique<ControlEndpoint>(handle, descriptor);
    case 1:
        return std::make_unique<IsocEndpoint>(handle, descriptor);
    case 2:
        return std::make_unique<BulkEndpoint>(handle, descriptor);
    case 3:
        return std::make_unique<InterruptEndpoint>(handle, descriptor);
    default:
        return nullptr;
    }
}

} // namespace podcore::usb
