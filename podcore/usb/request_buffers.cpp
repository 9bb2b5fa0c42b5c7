#include "usb/request_buffers.h"

#include "little_endian.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb {

bool RequestBuffers::Holds(uint32_t input, uint32_t output) const {
    return inLength_ >= input && outLength_ >= output && (input == 0 || in_ != nullptr) &&
           (output == 0 || out_ != nullptr);
}

uint32_t RequestBuffers::InSize() const {
    return GetLittleEndian32(in_ + 1);
}

void RequestBuffers::ReplyByte(uint8_t value) {
    out_[0] = value;
    returned_ = 1;
}

void RequestBuffers::Reply32(uint32_t value) {
    PutLittleEndian32(out_, value);
    returned_ = 4;
}

void RequestBuffers::ReplySize(uint8_t address, uint32_t size) {
    out_[0] = address;
    PutLittleEndian32(out_ + 1, size);
    returned_ = 5;
}

void RequestBuffers::ReplyText(const std::string& text) {
    const auto length = std::min<uint32_t>(static_cast<uint32_t>(text.size()), outLength_ - 1);
    std::memcpy(out_, text.data(), length);
    out_[length] = 0;
    returned_ = length + 1;
}

} // namespace podcore::usb
