#include "reference_analysis.h"

#include <algorithm>

namespace reference {

Levels Scale(const std::vector<uint32_t>& data, int32_t start, uint32_t length, uint32_t scale,
             uint32_t subscale) {
    Levels levels;
    for (auto& row : levels)
        row.assign(length, 2);
    if ((scale == 0) == (subscale == 0))
        return levels;

    const int64_t valid = static_cast<int64_t>(data.size());
    int64_t lead = 0;
    int64_t first = start;
    if (start < 0) {
        lead = scale != 0 ? -int64_t{start} / scale : -int64_t{start} * subscale;
        first = 0;
    }
    const int64_t span = scale != 0 ? (int64_t{length} + 1) * scale : int64_t{length} / subscale;
    int64_t end = length;
    if (valid == 0 || start >= valid) {
        end = 0;
    } else if (start + span < 0 || start + span >= valid) {
        end = scale != 0 ? (valid - start) / scale - 2 : (valid - start) * subscale - 2;
        end = std::max<int64_t>(end, 0);
    }
    lead = std::min<int64_t>(lead, length);
    end = std::min<int64_t>(end, length);
    end = std::max(end, lead);

    for (int64_t c = lead; c < end; ++c) {
        uint32_t allHigh = ~0u;
        uint32_t anyHigh = 0;
        if (scale != 0) {
            const int64_t columnStart = first + (c - lead) * scale;
            for (int64_t k = 0; k < scale; ++k) {
                const uint32_t sample = data.at(static_cast<size_t>(columnStart + k));
                allHigh &= sample;
                anyHigh |= sample;
            }
        } else {
            allHigh = anyHigh = data.at(static_cast<size_t>(first + (c - lead) / subscale));
        }
        for (int b = 0; b < 21; ++b) {
            const bool changed = ((allHigh ^ anyHigh) >> b) & 1;
            levels[b][static_cast<size_t>(c)] = changed ? 2 : (anyHigh >> b) & 1;
        }
    }
    return levels;
}

namespace {

bool Matches(const std::vector<uint32_t>& data, int64_t index, uint8_t mask, uint8_t value) {
    return index < static_cast<int64_t>(data.size()) && (data[index] & mask) == value;
}

} // namespace

int32_t Search(const std::vector<uint32_t>& data, const std::vector<uint8_t>& pattern,
               uint32_t from, bool forward) {
    const size_t steps = pattern.size() / 2;
    const int64_t length = static_cast<int64_t>(data.size());
    if (forward) {
        int64_t pos = from;
        for (size_t i = 0; i < steps; ++i) {
            if (pos >= length)
                continue;
            int64_t m = pos;
            while (m < length && !Matches(data, m, pattern[2 * i], pattern[2 * i + 1]))
                ++m;
            if (m == length)
                return -1;
            pos = m + 1;
        }
        return static_cast<int32_t>(pos);
    }
    if (steps == 0)
        return -1;
    int64_t result = -1;
    int64_t pos = 0;
    const int64_t limit = int64_t{from} - 2; // last index an occurrence may use
    while (pos < from) {
        for (size_t i = 0; i < steps; ++i) {
            if (pos >= int64_t{from} - 1)
                return static_cast<int32_t>(result);
            int64_t m = pos;
            while (m <= limit && !Matches(data, m, pattern[2 * i], pattern[2 * i + 1]))
                ++m;
            if (m > limit)
                return static_cast<int32_t>(result);
            pos = m + 1;
        }
        result = pos;
    }
    return static_cast<int32_t>(result);
}

} // namespace reference
