// Endpoint objects of the USB layer: each turns a transfer into driver requests, synchronous or
// overlapped, and keeps the status of its last transfer.
#pragma once

#include "usb/driver.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace podcore::usb {

// Raised by the layer with one of its fixed message texts; the exports turn it into a failure.
class UsbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fields of a 7-byte endpoint descriptor.
struct EndpointDescriptor {
    uint8_t length = 7;
    uint8_t type = 5;
    uint8_t address = 0;
    uint8_t attributes = 0;
    uint16_t maxPacketSize = 0;
    uint8_t interval = 0;

    static EndpointDescriptor Parse(const uint8_t* bytes);
};

// The driver request of one started transfer, handed from BeginTransfer to FinishTransfer.
// Dropping it while the driver still owns it aborts the pipe and waits, so the driver never
// writes into freed memory.
class PendingTransfer {
public:
    ~PendingTransfer();
    PendingTransfer(const PendingTransfer&) = delete;
    PendingTransfer& operator=(const PendingTransfer&) = delete;

private:
    friend class UsbEndpoint;
    friend class ControlEndpoint;
    PendingTransfer(DeviceHandle* handle, uint8_t address, Overlapped& overlapped)
        : handle_(handle), address_(address), overlapped_(&overlapped) {}

    DeviceHandle* handle_;
    uint8_t address_;
    Overlapped* overlapped_;
    bool inFlight_ = false;
    bool buffered_ = false;
    uint32_t dataOffset_ = 0;
    uint32_t packetAreaLength_ = 0;
    std::vector<uint8_t> bytes_; // header, packet area and (buffered) data
};

class UsbEndpoint {
public:
    static constexpr uint32_t kDefaultTimeout = 10000;

    // `handle` is the device's open driver handle; null makes every operation refuse.
    UsbEndpoint(DeviceHandle* handle, const EndpointDescriptor& descriptor);
    virtual ~UsbEndpoint() = default;
    UsbEndpoint(const UsbEndpoint&) = delete;
    UsbEndpoint& operator=(const UsbEndpoint&) = delete;

    // Synchronous transfer; `length` returns the bytes moved. A transfer that outlasts Timeout
    // is aborted and fails once the aborted request has completed.
    bool TransferData(uint8_t* buffer, uint32_t& length, uint8_t* packetInfo = nullptr);
    // Starts an overlapped transfer; null when nothing could be started (see LastError).
    virtual std::unique_ptr<PendingTransfer> BeginTransfer(uint8_t* buffer, uint32_t length,
                                                           Overlapped& overlapped);
    bool WaitForTransfer(Overlapped& overlapped, uint32_t milliseconds);
    bool FinishTransfer(uint8_t* buffer, uint32_t& length, Overlapped& overlapped,
                        std::unique_ptr<PendingTransfer> request, uint8_t* packetInfo = nullptr);
    bool Abort();
    bool Reset();
    void SetTransferSize(uint32_t size);
    uint32_t GetTransferSize();

    DeviceHandle* handle;
    uint8_t descriptorLength;
    uint8_t descriptorType;
    uint8_t address;
    uint8_t attributes;
    uint32_t MaxPacketSize;
    uint32_t TransactionsPerMicroframe;
    uint8_t Interval;
    uint32_t Timeout = kDefaultTimeout; // milliseconds
    uint32_t UsbdStatus = 0;
    uint32_t SystemStatus = 0;
    uint32_t BytesTransferred = 0;
    uint32_t LastError = 0;
    bool IsIn;
    int DirectTransfers = 1;

protected:
    std::unique_ptr<PendingTransfer> BeginDirect(uint8_t* buffer, uint32_t length,
                                                 Overlapped& overlapped);
    std::unique_ptr<PendingTransfer> BeginBuffered(uint8_t* buffer, uint32_t length,
                                                   Overlapped& overlapped);
    // Submits a prepared request, its own bytes as the driver's input and `out` as the output
    // (the caller's buffer for a direct transfer, the request itself for a buffered one), and
    // records the start's error code in LastError.
    std::unique_ptr<PendingTransfer> Start(std::unique_ptr<PendingTransfer> transfer, uint32_t code,
                                           uint8_t* out, uint32_t outLength);
    std::unique_ptr<PendingTransfer> NewTransfer(Overlapped& overlapped, uint32_t bytes);
    virtual bool Isochronous() const { return false; }

private:
    // Header and packet area (and, when buffered, a copy of the data) of a bulk, interrupt or
    // isochronous request; null when an isochronous transfer would carry no packet.
    std::unique_ptr<PendingTransfer> NewDataTransfer(const uint8_t* buffer, uint32_t length,
                                                     bool buffered, Overlapped& overlapped);
    bool SimpleRequest(uint32_t code, uint8_t* bytes, uint32_t length, uint32_t& returned);
};

class ControlEndpoint : public UsbEndpoint {
public:
    static constexpr uint8_t kHostToDevice = 0;
    static constexpr uint8_t kDeviceToHost = 1;
    ControlEndpoint(DeviceHandle* handle, const EndpointDescriptor& descriptor);

    std::unique_ptr<PendingTransfer> BeginTransfer(uint8_t* buffer, uint32_t length,
                                                   Overlapped& overlapped) override;
    bool Read(uint8_t* buffer, uint32_t& length);
    bool Write(uint8_t* buffer, uint32_t& length);

    uint8_t Recipient = 0;   // device
    uint8_t RequestType = 2; // vendor
    uint8_t Direction = kHostToDevice;
    uint8_t Request = 0;
    uint16_t Value = 0;
    uint16_t Index = 0;
};

class BulkEndpoint : public UsbEndpoint {
public:
    using UsbEndpoint::UsbEndpoint;
};

class InterruptEndpoint : public UsbEndpoint {
public:
    using UsbEndpoint::UsbEndpoint;
};

class IsocEndpoint : public UsbEndpoint {
public:
    using UsbEndpoint::UsbEndpoint;

protected:
    bool Isochronous() const override { return true; }
};

// The endpoint object for a descriptor, chosen by its whole attributes byte; null for values
// beyond the four transfer types.
std::unique_ptr<UsbEndpoint> MakeEndpoint(DeviceHandle* handle,
                                          const EndpointDescriptor& descriptor);

} // namespace podcore::usb
