#include "analysis/column_layout.h"

#include <algorithm>

namespace podcore::analysis {

namespace {

// Products of 32-bit operands are taken exactly, but capped far beyond any sample count or
// column count: a wrapped product would make the window look short and read past the data.
constexpr int64_t kBeyondAnyWindow = int64_t{1} << 40;

int64_t CappedProduct(int64_t a, int64_t b) {
    if (b != 0 && a > kBeyondAnyWindow / b)
        return kBeyondAnyWindow;
    return a * b;
}

} // namespace

ColumnLayout LayOutColumns(const ScreenWindow& window, uint32_t validSamples) {
    const bool zoomedOut = window.scale != 0;
    if (zoomedOut == (window.subscale != 0))
        return {};

    const int64_t start = window.start;
    const int64_t length = window.length;
    const int64_t valid = validSamples;
    const int64_t scale = window.scale;
    const int64_t subscale = window.subscale;

    int64_t lead = 0;
    if (start < 0)
        lead = zoomedOut ? -start / scale : CappedProduct(-start, subscale);
    const int64_t span = zoomedOut ? CappedProduct(length + 1, scale) : length / subscale;

    int64_t end = length;
    if (valid == 0 || start >= valid) {
        end = 0;
    } else if (start + span < 0 || start + span >= valid) {
        // A window wholly before the data (negative sum) lands here too, as an unsigned
        // comparison would have it; its lead covers every column anyway.
        const int64_t ahead = valid - start;
        end = (zoomedOut ? ahead / scale : CappedProduct(ahead, subscale)) - 2;
        end = std::max<int64_t>(end, 0);
    }

    lead = std::min(lead, length);
    end = std::clamp(end, lead, length);
    return {static_cast<uint32_t>(lead), static_cast<uint32_t>(end),
            static_cast<uint32_t>(std::max<int64_t>(start, 0))};
}

} // namespace podcore::analysis
