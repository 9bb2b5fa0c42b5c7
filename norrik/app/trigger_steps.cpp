#include "trigger_steps.h"

#include <cstddef>


namespace norrik {

void BuildTriggerSteps(const std::array<uint8_t, 257>& levels, int32_t stepCount,
                       std::array<uint32_t, 257>& steps) {
    const int stepsInTable = static_cast<int>(levels.size()) / 32;
    for (int step = 0; step < stepCount && step < stepsInTable; ++step) {
        uint32_t mask = 0;
        uint32_t value = 0;
        for (int bit = 0; bit <= 20; ++bit) {
            const uint32_t weight = 1u << bit;
            switch (levels[static_cast<size_t>(TriggerLevelIndex(step, bit))]) {
            case kHigh:
                mask |= weight;
                value |= weight;
                break;
            case kLow:
                mask |= weight;
                break;
            default:
                break;
            }
        }
        steps[static_cast<size_t>(2 * step)] = mask;
        steps[static_cast<size_t>(2 * step + 1)] = value;
    }
}

uint8_t NextTriggerLevel(uint8_t level) {
    const int next = level + 1;
    return next > kLow ? uint8_t{kDontCare} : static_cast<uint8_t>(next);
}

} // namespace norrik
