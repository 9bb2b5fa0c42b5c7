// The samples already in the buffer, read like a foreign file: so that a capture file of our own
// can be brought to another rate by the same rules as any other.
#pragma once

#include "interchange/foreign_format.h"

namespace norrik::interchange {

class BufferReader final : public ForeignReader {
public:
    BufferReader(const uint32_t* samples, size_t count, uint64_t rateHz)
        : samples_(samples), count_(count), rateHz_(rateHz) {}

    bool ReadLayout(FileLayout& layout, std::string& error) override;
    bool Replay(std::span<const uint32_t> lineMasks, SampleSink& sink, const ProgressHook& progress,
                uint64_t& endTick, std::string& error) override;

private:
    const uint32_t* samples_;
    size_t count_;
    uint64_t rateHz_;
};

} // namespace norrik::interchange
