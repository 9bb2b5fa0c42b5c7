#include "interchange/buffer_plan.h"

#include "app/open_sizing.h"

#include <algorithm>

namespace norrik::interchange {
namespace {

constexpr int64_t kBlockSamples = 65536;
// Where the trigger position slider starts.
constexpr uint32_t kFirstTriggerPercent = 10;

} // namespace

BufferPlan PlanBuffer(uint64_t fileSamples, int32_t currentBufferSamples,
                      int32_t maxBufferSamples) {
    const int64_t largest = std::max<int64_t>(maxBufferSamples, 0) & ~(kBlockSamples - 1);
    const auto fitting = static_cast<uint32_t>(std::min<uint64_t>(fileSamples, uint64_t(largest)));
    const OpenSizing sizing = SizeForOpen(fitting, currentBufferSamples, maxBufferSamples);
    return {sizing.sizeEntry, sizing.bufferSamples,
            std::min<uint32_t>(fitting, uint32_t(std::max(sizing.bufferSamples, 0)))};
}

void InstallSamples(const SampleBlocks& samples, uint32_t* buffer, int32_t bufferSamples) {
    if (bufferSamples <= 0)
        return;
    samples.CopyTo(buffer, size_t(bufferSamples));
    FillPastEnd(buffer, bufferSamples, uint32_t(std::min<size_t>(samples.size(), bufferSamples)));
}

void FillPastEnd(uint32_t* buffer, int32_t bufferSamples, uint32_t filled) {
    if (filled == 0 || int64_t{filled} >= bufferSamples)
        return;
    std::fill(buffer + filled, buffer + bufferSamples, buffer[filled - 1]);
}

CaptureFileFields FieldsOfSamplesAlone(uint8_t rateCode, int32_t bufferSamples) {
    AppState state;
    state.RateCode = {rateCode, rateCode};
    state.BufferSamples = bufferSamples;
    state.Scale = 1;
    return FieldsOfState(state, true, kFirstTriggerPercent);
}

} // namespace norrik::interchange
