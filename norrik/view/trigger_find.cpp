#include "view/trigger_find.h"

#include <algorithm>
#include <optional>

namespace norrik {
namespace {

// The samples that match both steps at once; none when the steps want opposite levels of a bit.
std::optional<SampleStep> BothSteps(const TriggerPattern& pattern) {
    const SampleStep& a = pattern.first;
    const SampleStep& b = pattern.second;
    if ((a.value & b.mask) != (b.value & a.mask))
        return std::nullopt;
    return SampleStep{a.mask | b.mask, a.value | b.value};
}

bool Matches(std::span<const uint32_t> samples, int64_t at, SampleStep step) {
    return at >= 0 && at < static_cast<int64_t>(samples.size()) &&
           (samples[static_cast<size_t>(at)] & step.mask) == step.value;
}

// Whether sample s + 1 is a target: s matches step 2, and a step-1 match lies between the
// step-2 match before s (itself included) and s, so that s is its first step-2 match.
bool IsTriggerSample(std::span<const uint32_t> samples, const TriggerPattern& pattern, int64_t s) {
    if (s < 1 || !Matches(samples, s, pattern.second))
        return false;
    const auto at = static_cast<uint32_t>(s);
    const std::optional<uint32_t> before = LastMatch(samples, 0, at, pattern.second);
    return LastMatch(samples, before.value_or(0), at, pattern.first).has_value();
}

// The first target at or after t: the occurrence of the first step-1 match at or after the
// step-2 match before t - 1 (no step-1 match before that one reaches a later step-2 match).
int32_t FirstTargetFrom(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                        int64_t t) {
    if (t > static_cast<int64_t>(samples.size()))
        return -1;
    const auto end = static_cast<uint32_t>(std::max<int64_t>(t - 1, 0));
    const std::optional<uint32_t> before = LastMatch(samples, 0, end, pattern.second);
    return FindTriggerForward(samples, pattern, before.value_or(0));
}

} // namespace

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

namespace {

// Find Next and Previous from the target that the trigger rule finds: -1 for a pattern that
// holds everywhere; the target itself when it stands alone or begins a run of targets; else the
// beginning that `inRun` finds from the trigger sample before the target and from the step
// that matches both steps at once.
template <typename InRun>
int32_t Beginning(std::span<const uint32_t> samples, const TriggerPattern& pattern, int32_t target,
                  InRun inRun) {
    if (pattern.first.mask == 0 && pattern.second.mask == 0)
        return -1;
    if (target < 0 || !IsTriggerSample(samples, pattern, int64_t{target} - 2))
        return target;
    // Two neighbouring trigger samples both match both steps: such samples exist.
    return inRun(static_cast<uint32_t>(target - 1), *BothSteps(pattern));
}

} // namespace

int32_t FindBeginningForward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                             int64_t from) {
    const int32_t target = FindTriggerForward(samples, pattern, from);
    return Beginning(samples, pattern, target, [&](uint32_t s, SampleStep both) {
        // The run's trigger samples end at the first sample u that does not match both steps
        // (or at u itself), and the sample after u is no trigger sample: the next target from
        // u + 2 on begins a run.
        const auto size = static_cast<uint32_t>(samples.size());
        const std::optional<uint32_t> other = FirstMismatch(samples, s, size, both);
        return other ? FirstTargetFrom(samples, pattern, int64_t{*other} + 2) : -1;
    });
}

int32_t FindBeginningBackward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                              int64_t before) {
    const int32_t target = FindTriggerBackward(samples, pattern, before);
    return Beginning(samples, pattern, target, [&](uint32_t s, SampleStep both) {
        // The run's trigger samples begin just after the last sample before s that does not
        // match both steps, or one sample later when that one is no trigger sample.
        const std::optional<uint32_t> other = LastMismatch(samples, 0, s, both);
        const int64_t next = other ? int64_t{*other} + 1 : 0;
        const int64_t firstTrigger = IsTriggerSample(samples, pattern, next) ? next : next + 1;
        return static_cast<int32_t>(firstTrigger + 1);
    });
}

} // namespace norrik
