// Find Next and Find Previous: occurrences of the two-step trigger pattern in the captured
// samples, matched the way a capture triggers. An occurrence is a step-1 match followed by the
// first step-2 match after it; its target is the sample after that step-2 match, where the
// capture would have triggered.
#pragma once

#include "view/sample_scan.h"

#include <array>
#include <cstdint>
#include <span>

namespace norrik {

struct TriggerPattern {
    SampleStep first;
    SampleStep second;
};

// The pattern of the first two steps of the trigger steps (mask, value, mask, value).
TriggerPattern PatternOfSteps(const std::array<uint32_t, 257>& steps);

// The target of the occurrence whose step-1 match is the first one at or after `from`;
// -1 when there is none.
int32_t FindTriggerForward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                           int64_t from);

// The latest target below `before`; -1 when there is none.
int32_t FindTriggerBackward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                            int64_t before);

// Find Next and Find Previous. A pattern of levels has a target at every sample of a run where
// it holds; these go to where such a run of targets begins (a target whose sample before is
// none), so that one press crosses the whole run. An edge pattern's targets stand alone and are
// found as above. A pattern of DontCare in both steps holds everywhere and has nothing to
// find: -1.
int32_t FindBeginningForward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                             int64_t from);
int32_t FindBeginningBackward(std::span<const uint32_t> samples, const TriggerPattern& pattern,
                              int64_t before);

} // namespace norrik
