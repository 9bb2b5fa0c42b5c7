#include "capture/held_bytes.h"

#include <cstring>

namespace podcore::capture {

void HeldBytes::Append(const uint8_t* data, std::size_t length) {
    bytes_.insert(bytes_.end(), data, data + length);
}

void HeldBytes::Consume(std::size_t count) {
    begin_ += count;
    const std::size_t rest = bytes_.size() - begin_;
    if (rest > begin_)
        return;
    std::memmove(bytes_.data(), bytes_.data() + begin_, rest);
    bytes_.resize(rest);
    begin_ = 0;
}

} // namespace podcore::capture
