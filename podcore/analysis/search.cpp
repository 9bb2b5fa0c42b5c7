#include "analysis/search.h"

#include "analysis/step_match.h"
#include "buffer/sample_buffer.h"

#include <algorithm>
#include <optional>

namespace podcore::analysis {

namespace {

SearchStep StepAt(const SearchInput& input, uint32_t index) {
    const uint8_t* pair = input.pattern + size_t{index} * 2;
    return {pair[0], pair[1]};
}

uint32_t SampleCount(const SearchInput& input) {
    return static_cast<uint32_t>(input.samples.size());
}

// With a single step every match is an occurrence of its own, so the walk from sample 0 ends at
// the last match below the limit; finding that one directly keeps the mouse-move measurement
// independent of how far into the buffer it is.
int32_t LastSingleStepEnd(const SearchInput& input, uint32_t limit) {
    const std::optional<uint32_t> match =
        FindLastMatch(input.samples.data(), 0, limit, StepAt(input, 0));
    return match ? static_cast<int32_t>(*match + 1) : -1;
}

} // namespace

int32_t SearchForward(const SearchInput& input, uint32_t from) {
    if (input.steps > 0 && input.pattern == nullptr)
        return -1;
    const uint32_t length = SampleCount(input);
    uint32_t pos = from;
    for (uint32_t i = 0; i < input.steps; ++i) {
        if (pos >= length)
            continue;
        const std::optional<uint32_t> match =
            FindFirstMatch(input.samples.data(), pos, length, StepAt(input, i));
        if (!match)
            return -1;
        pos = *match + 1;
    }
    return static_cast<int32_t>(pos);
}

int32_t SearchBackward(const SearchInput& input, uint32_t from) {
    // An empty pattern would occur at every position without moving on; it has no end to report.
    if (input.steps == 0 || input.pattern == nullptr || from < 2)
        return -1;
    // Occurrences end at or below from - 1; samples past the buffer do not exist and never match.
    const uint32_t limit = std::min(from - 1, SampleCount(input));
    if (input.steps == 1)
        return LastSingleStepEnd(input, limit);

    int32_t result = -1;
    uint32_t pos = 0;
    while (pos < limit) {
        for (uint32_t i = 0; i < input.steps; ++i) {
            if (pos >= limit)
                return result;
            const std::optional<uint32_t> match =
                FindFirstMatch(input.samples.data(), pos, limit, StepAt(input, i));
            if (!match)
                return result;
            pos = *match + 1;
        }
        result = static_cast<int32_t>(pos);
    }
    return result;
}

int32_t SearchForTrigger(const uint8_t* pattern, uint32_t steps, uint32_t from,
                         uint32_t direction) {
    const buffer::State& state = buffer::Buffer();
    const uint32_t length = state.samples == nullptr ? 0 : uint32_t{state.bufferLength};
    const SearchInput input{{state.samples, length}, pattern, steps};
    return direction != 0 ? SearchForward(input, from) : SearchBackward(input, from);
}

} // namespace podcore::analysis
