// The device side of the virtual pod's endpoints. Each model holds the transfers the host queued
// on it and completes them when the device has something to say; the caller holds the device's
// lock around every call.
#pragma once

#include "usb/driver.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace podcore::usb::sim {

// The faults a test can inject into a virtual device.
struct DeviceFaults {
    bool unresponsive = false;            // nothing is answered; transfers wait until aborted
    bool denyAccess = false;              // opening the device interface is refused
    bool failFirmwareLoad = false;        // memory loads (request 0xA0) stall
    bool statusBreak = false;             // while sampling, the status reports lost data
    uint32_t shortTransferBytes = 0;      // IN transfers complete with this many bytes (0: full)
    std::vector<uint8_t> silentEndpoints; // endpoints whose transfers never complete
    // The pod samples nothing once started: no stream sends, and nothing is reported lost.
    bool silentStreams = false;
    // Seconds from the start of sampling until the status reports lost data, and until the pod
    // is removed.
    std::optional<double> breakAfterSeconds;
    std::optional<double> unplugAfterSeconds;
};

// One transfer the host handed to an endpoint, with where its data and statuses go.
struct PendingIo {
    const void* owner = nullptr; // the handle that submitted it
    uint8_t* data = nullptr;
    uint32_t length = 0;
    uint8_t* header = nullptr;   // the request header that receives the statuses
    uint32_t reportedOffset = 0; // added to the bytes reported (the buffered data offset)
    Overlapped* overlapped = nullptr;
    uint32_t filled = 0; // bytes already written into `data`
};

// Writes the statuses and completes the host's request.
void Complete(const PendingIo& io, uint32_t usbdStatus, uint32_t bytes,
              uint32_t systemError = error::Success);

class EndpointModel {
public:
    EndpointModel(uint8_t address, const DeviceFaults& faults)
        : faults_(faults), address_(address) {}
    virtual ~EndpointModel() = default;

    uint8_t Address() const { return address_; }
    void Submit(const PendingIo& io);
    // Completes the queued transfers (of `owner` only, when given) with the error.
    void Cancel(uint32_t systemError, uint32_t usbdStatus, const void* owner = nullptr);
    // Completes whatever the device can answer now.
    void Service();
    uint32_t transferSize = 4096; // the driver's transfer size for this pipe

protected:
    // Answers the transfer at the head of the queue and returns true, or false to keep it waiting.
    virtual bool Answer(const PendingIo& io) = 0;
    // False while a fault keeps the endpoint from answering at all.
    bool Answering() const;
    const DeviceFaults& faults_;
    std::deque<PendingIo> queue_;

private:
    uint8_t address_;
};

// An IN endpoint that streams bytes out of a bounded FIFO that the device fills. While the pod
// samples, its front end writes the stream straight into the queued transfers instead.
class StreamInEndpoint : public EndpointModel {
public:
    // Writes `count` bytes of the stream, from stream byte `index` on, to `out`.
    using StreamBytes = std::function<void(uint64_t index, uint8_t* out, uint32_t count)>;

    StreamInEndpoint(uint8_t address, const DeviceFaults& faults, size_t capacity)
        : EndpointModel(address, faults), capacity_(capacity) {}

    // Puts bytes into the FIFO; returns false (and drops the rest) when it overflowed.
    bool Feed(const uint8_t* bytes, size_t count);
    size_t Buffered() const { return fifo_.size(); }
    bool Overflowed() const { return overflowed_; }
    void Clear();

    // Switches between the FIFO above and delivery by the front end.
    void SetSampling(bool sampling) { sampling_ = sampling; }
    // Bytes the queued transfers can take now; 0 while the endpoint does not answer.
    uint64_t Room() const;
    // Bytes still missing from the head transfer; 0 with nothing queued.
    uint32_t HeadMissing() const;
    // Writes `count` (at most Room()) stream bytes from `index` on into the queued transfers,
    // completing each as it fills.
    void Deliver(uint64_t index, uint64_t count, const StreamBytes& bytes);

protected:
    bool Answer(const PendingIo& io) override;

private:
    // What a transfer carries when full: less than asked under the short-transfer fault.
    uint32_t Capacity(const PendingIo& io) const;

    size_t capacity_;
    std::deque<uint8_t> fifo_;
    bool overflowed_ = false;
    bool sampling_ = false;
};

// An IN endpoint that answers each read with one byte, when the device has one to give.
class ResponderEndpoint : public EndpointModel {
public:
    using Responder = std::function<std::optional<uint8_t>()>;
    ResponderEndpoint(uint8_t address, const DeviceFaults& faults, Responder responder)
        : EndpointModel(address, faults), responder_(std::move(responder)) {}

protected:
    bool Answer(const PendingIo& io) override;

private:
    Responder responder_;
};

// An OUT endpoint that hands every message to the device.
class CommandEndpoint : public EndpointModel {
public:
    using Receiver = std::function<void(const uint8_t* bytes, uint32_t count)>;
    CommandEndpoint(uint8_t address, const DeviceFaults& faults, Receiver receiver)
        : EndpointModel(address, faults), receiver_(std::move(receiver)) {}

protected:
    bool Answer(const PendingIo& io) override;

private:
    Receiver receiver_;
};

// The default pipe's queue: control transfers only wait here while the device is unresponsive.
class ControlPipe : public EndpointModel {
public:
    explicit ControlPipe(const DeviceFaults& faults) : EndpointModel(0, faults) {}

protected:
    bool Answer(const PendingIo&) override { return false; }
};

} // namespace podcore::usb::sim
