#include "view/trigger_find.h"

#include <algorithm>
#include <optional>

namespace norrik {

TriggerPattern PatternOfSteps(const std::array<uint32_t, 257>& steps) {
    return {{steps[0], steps[1]}, {steps[2], steps[3]}};
}

int32_t FindTriggerForward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                           int64_t from) {
    const auto end = static_cast<uint32_t>(samples.size());
    if (from >= end)
        return -1;
    const std::optional<uint32_t> first =
        FirstMatch(samples, static_cast<uint32_t>(std::max<int64_t>(from, 0)), end, pattern.first);
    if (!first)
        return -1;
    const std::optional<uint32_t> second = FirstMatch(samples, *first + 1, end, pattern.second);
    return second ? static_cast<int32_t>(*second + 1) : -1;
}

int32_t FindTriggerBackward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                            int64_t before) {
    // A target below `before` ends with a step-2 match at or below before - 2.
    const int64_t end = std::min<int64_t>(before - 1, static_cast<int64_t>(samples.size()));
    if (end <= 0)
        return -1;
    const std::optional<uint32_t> lastSecond =
        LastMatch(samples, 0, static_cast<uint32_t>(end), pattern.second);
    if (!lastSecond)
        return -1;
    // Every later step-1 match has no step-2 match after it within reach, so the occurrence
    // belongs to the last step-1 match before that step-2 match; its own step-2 match is the
    // first one after it.
    const std::optional<uint32_t> first = LastMatch(samples, 0, *lastSecond, pattern.first);
    if (!first)
        return -1;
    const std::optional<uint32_t> second =
        FirstMatch(samples, *first + 1, *lastSecond + 1, pattern.second);
    return static_cast<int32_t>(*second + 1);
}

} // namespace norrik
