#include "view/scroll_steps.h"

#include "app/number_text.h"

#include "view/view_geometry.h"

#include <algorithm>

namespace norrik {
namespace {

std::optional<int32_t> MovedStart(const AppState& state, ScrollDirection direction,
                                  double samples) {
    const double moved = state.ScreenStart + static_cast<int>(direction) * samples;
    if (moved >= 2147483648.0 || moved < -2147483648.0)
        return std::nullopt;
    return RoundHalfEvenToInt32(moved);
}

} // namespace

std::optional<int32_t> ScrolledStart(const AppState& state, ScrollDirection direction,
                                     int32_t step) {
    // In whole numbers wider than the state's, so that a coarse zoom cannot wrap around.
    const double samples = state.Scale != 0
                               ? (int64_t{state.Scale} + 1) * int64_t{step}
                               : static_cast<double>(step) / std::max(state.SubScale, 1);
    return MovedStart(state, direction, samples);
}

std::optional<int32_t> ScreenScrolledStart(const AppState& state, ScrollDirection direction,
                                           int rowWidth) {
    return MovedStart(state, direction, VisibleSpan(state, rowWidth));
}

int NextScrollInterval(int intervalMs) {
    return static_cast<int>(RoundHalfEven(intervalMs * 0.75));
}

int32_t NextScrollStep(int32_t step, int intervalMs) {
    if (intervalMs <= 10)
        step = static_cast<int32_t>(std::min<int64_t>(RoundHalfEven(step * 1.1), kMaxScrollStep));
    return std::min(step, kMaxScrollStep);
}

} // namespace norrik
