// One of the controller's IN FIFOs (endpoint 6 or 8) as the slave-FIFO interface fills it: the
// front end writes bytes into the buffer being filled, each buffer commits to the USB side as a
// packet once it holds the auto-commit length, and the host takes the packets in order. It takes
// the front end's data only when set up as the pod needs it (a valid bulk IN endpoint, AUTOIN,
// the front end's bus width, a packet length that fits its buffers); otherwise, and while every
// buffer waits for the host, it takes nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace podcore::usb::sim {

class SlaveFifo {
public:
    static constexpr size_t kMaxBuffers = 4;
    static constexpr size_t kMaxBufferBytes = 1024;

    // Endpoint 6 chooses its buffering and buffer size in EP6CFG; endpoint 8 has two buffers of
    // 512 bytes.
    explicit SlaveFifo(bool configurableBuffers);

    // EPxCFG, EPxFIFOCFG, EPxAUTOINLENH:L. A change empties the FIFO.
    uint8_t Config() const { return config_; }
    uint8_t FifoConfig() const { return fifoConfig_; }
    uint16_t AutoInLength() const { return autoInLength_; }
    void SetConfig(uint8_t value);
    void SetFifoConfig(uint8_t value);
    void SetAutoInLength(uint16_t value);
    // FIFORESET for this endpoint.
    void Reset();

    // The front end's side: writes up to `count` bytes, 16-bit words when `wordWide`; returns the
    // bytes taken.
    size_t Write(const uint8_t* bytes, size_t count, bool wordWide);
    bool Accepts(bool wordWide) const;

    // The host's side: the oldest committed packet, if there is one.
    bool TakePacket(std::vector<uint8_t>& packet);

    // The flags: committed packets, no room for the front end, nothing held at all.
    size_t Packets() const { return committed_; }
    bool Full() const { return committed_ == Buffers(); }
    bool Empty() const { return committed_ == 0 && filling_ == 0; }
    size_t BytesHeld() const;

private:
    size_t Buffers() const;
    size_t BufferBytes() const;
    size_t Slot(size_t index) const { return (head_ + index) % Buffers(); }

    bool configurableBuffers_;
    uint8_t config_;
    uint8_t fifoConfig_;
    uint16_t autoInLength_;
    std::array<std::array<uint8_t, kMaxBufferBytes>, kMaxBuffers> buffers_{};
    std::array<uint16_t, kMaxBuffers> lengths_{};
    size_t head_ = 0;      // the oldest committed buffer
    size_t committed_ = 0; // buffers waiting for the host
    size_t filling_ = 0;   // bytes in the buffer after them
};

} // namespace podcore::usb::sim
