#include "view/scroll_steps.h"

#include "app/number_text.h"

#include <algorithm>

namespace norrik {

std::optional<int32_t> ScrolledStart(const AppState& state, ScrollDirection direction,
                                     int32_t step) {
    const double sign = static_cast<int>(direction);
    // In whole numbers wider than the state's, so that a coarse zoom cannot wrap around.
    const double samples = state.Scale != 0
                               ? (int64_t{state.Scale} + 1) * int64_t{step}
                               : static_cast<double>(step) / std::max(state.SubScale, 1);
    const double moved = state.ScreenStart + sign * samples;
    if (moved >= 2147483648.0 || moved < -2147483648.0)
        return std::nullopt;
    return RoundHalfEvenToInt32(moved);
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
