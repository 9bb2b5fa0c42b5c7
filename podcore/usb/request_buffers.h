// The input and output buffers of one simple driver request, as a back end checks and fills
// them; both back ends answer the simple requests through it.
#pragma once

#include <cstdint>
#include <string>

namespace podcore::usb {

// The USB driver interface version both back ends report.
constexpr uint32_t kUsbdiVersion = 0x00000600;

class RequestBuffers {
public:
    RequestBuffers(const uint8_t* in, uint32_t inLength, uint8_t* out, uint32_t outLength,
                   uint32_t& returned)
        : in_(in), inLength_(inLength), out_(out), outLength_(outLength), returned_(returned) {
        returned_ = 0;
    }

    // True when the input holds `input` bytes and the output has room for `output` bytes.
    bool Holds(uint32_t input, uint32_t output) const;
    uint8_t InByte() const { return in_[0]; }
    // Bytes 1 to 4 of the input: the size of a transfer-size request.
    uint32_t InSize() const;

    void ReplyByte(uint8_t value);
    void Reply32(uint32_t value);
    // The endpoint address and a size, as the transfer-size requests answer.
    void ReplySize(uint8_t address, uint32_t size);
    // A zero-terminated text, cut to the room there is.
    void ReplyText(const std::string& text);

private:
    const uint8_t* in_;
    uint32_t inLength_;
    uint8_t* out_;
    uint32_t outLength_;
    uint32_t& returned_;
};

} // namespace podcore::usb
