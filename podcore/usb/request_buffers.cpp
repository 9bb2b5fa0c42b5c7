#include "usb/request_buffers.h"

#include <algorithm>
#include <cstring>

namespace podcore::usb {

namespace {
void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}
} // namespace

bool RequestBuffers::Holds(uint32_t input, uint32_t output) const {
    return inLength_ >= input && outLength_ >= output && (input == 0 || in_ != nullptr) &&
           (output == 0 || out_ != nullptr);
}

uint32_t RequestBuffers::InSize() const {
    return uint32_t{in_[1]} | uint32_t{in_[2]} << 8 | uint32_t{in_[3]} << 16 |
           uint32_t{in_[4]} << 24;
}

void RequestBuffers::ReplyByte(uint8_t value) {
    out_[0] = value;
    returned_ = 1;
}

void RequestBuffers::Reply32(uint32_t value) {
    Put32(out_, value);
    returned_ = 4;
}

void RequestBuffers::ReplySize(uint8_t address, uint32_t size) {
    out_[0] = address;
    Put32(out_ + 1, size);
    returned_ = 5;
}

void RequestBuffers::ReplyText(const std::string& text) {
    const auto length = std::min<uint32_t>(static_cast<uint32_t>(text.size()), outLength_ - 1);
    std::memcpy(out_, text.data(), length);
    out_[length] = 0;
    returned_ = length + 1;
}

} // namespace podcore::usb
