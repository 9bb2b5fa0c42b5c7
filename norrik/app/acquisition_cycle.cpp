#include "acquisition_cycle.h"

#include "number_text.h"

namespace norrik {

int32_t PostTriggerSamples(int32_t bufferSamples, int triggerPosition) {
    const double samples = bufferSamples / 100.0 * (100 - triggerPosition) + 65536;
    return RoundHalfEvenToInt32(samples) & ~int32_t{0xFFFF};
}

uint32_t ClockingMode(bool externalClock, uint8_t clockEdge, uint8_t trigQualifier) {
    if (!externalClock)
        return 2;
    return 4u + clockEdge + 2u * trigQualifier;
}

void FillDemoCaptureStatus(AppState& state, int triggerPosition) {
    state.CapBreaks = 0;
    state.CapRunning = 0;
    state.CapTriggered = 255;
    state.CapStartP = 0;
    state.CapEndP = state.BufferSamples;
    state.TriggerSample = RoundHalfEvenToInt32(triggerPosition / 100.0 * state.BufferSamples);
    state.CapFull = 100;
}

PodWatchChange PodWatchChangeOf(bool wasAttached, int32_t podCount) {
    const bool attached = podCount > 0;
    if (!wasAttached && attached)
        return PodWatchChange::Arrival;
    if (wasAttached && !attached)
        return PodWatchChange::Removal;
    return PodWatchChange::None;
}

} // namespace norrik
