// Bytes of one stream that arrived but may not enter the ring yet. Appended at the back, taken
// from the front; taking moves the rest down only once it is no longer than what was taken, so
// holding costs time linear in the bytes held, and nothing is allocated within the reserve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace podcore::capture {

class HeldBytes {
public:
    void Reserve(std::size_t bytes) { bytes_.reserve(bytes); }
    void Append(const uint8_t* data, std::size_t length);
    uint8_t* Data() { return bytes_.data() + begin_; }
    std::size_t Size() const { return bytes_.size() - begin_; }
    // Drops the first `count` bytes (at most Size()).
    void Consume(std::size_t count);

private:
    std::vector<uint8_t> bytes_;
    std::size_t begin_ = 0;
};

} // namespace podcore::capture
