#include "interchange/shortest_interval.h"

#include <algorithm>

namespace norrik::interchange {

bool ShortestInterval::Change(uint64_t tick, uint32_t word) {
    if (!started_) {
        started_ = true;
        lastChange_ = tick;
        word_ = word;
    } else if (word != word_) {
        const uint64_t interval = tick - lastChange_;
        // Two values at one tick: the later one stands, and no interval ended.
        if (interval > 0)
            shortest_ = std::min(shortest_.value_or(interval), interval);
        lastChange_ = tick;
        word_ = word;
    }
    return true;
}

bool ShortestInterval::Samples(uint64_t firstTick, std::span<const uint32_t> words) {
    for (size_t i = 0; i < words.size(); ++i)
        Change(firstTick + i, words[i]);
    return true;
}

} // namespace norrik::interchange
