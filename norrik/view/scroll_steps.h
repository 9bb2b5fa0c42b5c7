// The arithmetic of scrolling: one step of the View menu and the repeating, accelerating steps
// of the two scroll buttons.
#pragma once

#include "app/app_state.h"

#include <cstdint>
#include <optional>

namespace norrik {

enum class ScrollDirection { Left = -1, Right = 1 };

// Each press starts the repeat at this step factor and timer interval.
constexpr int32_t kFirstScrollStep = 50;
constexpr int kFirstScrollIntervalMs = 250;
constexpr int32_t kMaxScrollStep = 65536;

// `ScreenStart` moved by `step` steps of the current zoom: (Scale + 1) x step samples, or
// step / SubScale samples to the nearest integer. Nothing when the result leaves the range of
// sample indexes.
std::optional<int32_t> ScrolledStart(const AppState& state, ScrollDirection direction,
                                     int32_t step);

// `ScreenStart` moved by the span a whole row shows; nothing when the result leaves the range
// of sample indexes.
std::optional<int32_t> ScreenScrolledStart(const AppState& state, ScrollDirection direction,
                                           int rowWidth);

// The repeat's timer interval after a tick: three quarters, to the nearest integer.
int NextScrollInterval(int intervalMs);

// The step factor after a tick that set `intervalMs`: a tenth larger once the interval is down
// to 10 ms, never above kMaxScrollStep.
int32_t NextScrollStep(int32_t step, int intervalMs);

} // namespace norrik
