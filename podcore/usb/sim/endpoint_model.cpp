#include "usb/sim/endpoint_model.h"

#include "usb/transfer_request.h"

#include <algorithm>

namespace podcore::usb::sim {

void Complete(const PendingIo& io, uint32_t usbdStatus, uint32_t bytes, uint32_t systemError) {
    TransferRequest::WriteStatus(io.header, systemError, usbdStatus);
    const uint32_t reported =
        systemError == error::Success || bytes != 0 ? io.reportedOffset + bytes : 0;
    io.overlapped->Complete(systemError, reported);
}

void EndpointModel::Submit(const PendingIo& io) {
    queue_.push_back(io);
    Service();
}

void EndpointModel::Cancel(uint32_t systemError, uint32_t usbdStatus, const void* owner) {
    std::deque<PendingIo> kept;
    for (const PendingIo& io : queue_) {
        if (owner == nullptr || io.owner == owner)
            Complete(io, usbdStatus, 0, systemError);
        else
            kept.push_back(io);
    }
    queue_.swap(kept);
}

void EndpointModel::Service() {
    if (faults_.unresponsive ||
        std::find(faults_.silentEndpoints.begin(), faults_.silentEndpoints.end(), address_) !=
            faults_.silentEndpoints.end())
        return;
    while (!queue_.empty() && Answer(queue_.front()))
        queue_.pop_front();
}

bool StreamInEndpoint::Feed(const uint8_t* bytes, size_t count) {
    const size_t room = capacity_ - fifo_.size();
    fifo_.insert(fifo_.end(), bytes, bytes + std::min(room, count));
    overflowed_ = overflowed_ || count > room;
    Service();
    return count <= room;
}

void StreamInEndpoint::Clear() {
    fifo_.clear();
    overflowed_ = false;
}

bool StreamInEndpoint::Answer(const PendingIo& io) {
    uint32_t wanted = io.length;
    if (faults_.shortTransferBytes != 0)
        wanted = std::min(wanted, faults_.shortTransferBytes);
    if (fifo_.size() < wanted)
        return false;
    std::copy_n(fifo_.begin(), wanted, io.data);
    fifo_.erase(fifo_.begin(), fifo_.begin() + wanted);
    Complete(io, 0, wanted);
    return true;
}

bool ResponderEndpoint::Answer(const PendingIo& io) {
    const std::optional<uint8_t> byte = responder_();
    if (!byte)
        return false;
    if (io.length == 0) {
        Complete(io, 0, 0);
        return true;
    }
    io.data[0] = *byte;
    Complete(io, 0, 1);
    return true;
}

bool CommandEndpoint::Answer(const PendingIo& io) {
    receiver_(io.data, io.length);
    Complete(io, 0, io.length);
    return true;
}

} // namespace podcore::usb::sim
