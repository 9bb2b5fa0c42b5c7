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
            Complete(io, usbdStatus, io.filled, systemError);
        else
            kept.push_back(io);
    }
    queue_.swap(kept);
}

bool EndpointModel::Answering() const {
    return !faults_.unresponsive &&
           std::find(faults_.silentEndpoints.begin(), faults_.silentEndpoints.end(), address_) ==
               faults_.silentEndpoints.end();
}

void EndpointModel::Service() {
    if (!Answering())
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

uint32_t StreamInEndpoint::Capacity(const PendingIo& io) const {
    if (faults_.shortTransferBytes != 0)
        return std::min(io.length, faults_.shortTransferBytes);
    return io.length;
}

bool StreamInEndpoint::Answer(const PendingIo& io) {
    const uint32_t wanted = Capacity(io);
    if (sampling_ || fifo_.size() < wanted)
        return false;
    std::copy_n(fifo_.begin(), wanted, io.data);
    fifo_.erase(fifo_.begin(), fifo_.begin() + wanted);
    Complete(io, 0, wanted);
    return true;
}

uint64_t StreamInEndpoint::Room() const {
    if (!Answering())
        return 0;
    uint64_t room = 0;
    for (const PendingIo& io : queue_)
        room += Capacity(io) - io.filled;
    return room;
}

uint32_t StreamInEndpoint::HeadMissing() const {
    return queue_.empty() ? 0 : Capacity(queue_.front()) - queue_.front().filled;
}

void StreamInEndpoint::Deliver(uint64_t index, uint64_t count, const StreamBytes& bytes) {
    while (count > 0 && !queue_.empty()) {
        PendingIo& io = queue_.front();
        const auto part = static_cast<uint32_t>(
            std::min<uint64_t>(count, Capacity(io) - io.filled));
        bytes(index, io.data + io.filled, part);
        io.filled += part;
        index += part;
        count -= part;
        if (io.filled == Capacity(io)) {
            Complete(io, 0, io.filled);
            queue_.pop_front();
        }
    }
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
