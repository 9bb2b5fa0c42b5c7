// The shortest time any value of the lines lasts in a file, from its start: the rate of a file
// that records none is the one whose period fits it.
#pragma once

#include "interchange/foreign_format.h"

#include <optional>

namespace norrik::interchange {

class ShortestInterval final : public SampleSink {
public:
    bool Change(uint64_t tick, uint32_t word) override;
    bool Samples(uint64_t firstTick, std::span<const uint32_t> words) override;

    // In ticks; nothing when the lines never change.
    std::optional<uint64_t> Ticks() const { return shortest_; }

private:
    bool started_ = false;
    uint64_t lastChange_ = 0;
    uint32_t word_ = 0;
    std::optional<uint64_t> shortest_;
};

} // namespace norrik::interchange
