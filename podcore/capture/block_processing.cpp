#include "capture/block_processing.h"

#include <algorithm>
#include <cstring>

namespace podcore::capture {

namespace {

// Four samples side by side; GCC and Clang compile operations on it to SIMD instructions.
using Lanes = uint32_t __attribute__((vector_size(16)));
constexpr uint32_t kLanes = sizeof(Lanes) / sizeof(uint32_t);

// Index of the first sample in [from, end) for which (sample AND mask) = value, or end.
uint32_t FindStep(const uint32_t* samples, uint32_t from, uint32_t end, uint32_t mask,
                  uint32_t value) {
    // The common case is no match at all, so whole chunks are tested lanes at a time without a
    // branch per sample; the chunk that holds a match is then walked sample by sample.
    constexpr uint32_t kChunk = 16 * kLanes;
    const Lanes masks = Lanes{} + mask;
    const Lanes values = Lanes{} + value;
    uint32_t i = from;
    while (end - i >= kChunk) {
        Lanes hits{};
        for (uint32_t k = 0; k < kChunk; k += kLanes) {
            Lanes lanes;
            std::memcpy(&lanes, samples + i + k, sizeof lanes);
            hits |= reinterpret_cast<Lanes>((lanes & masks) == values);
        }
        if ((hits[0] | hits[1] | hits[2] | hits[3]) != 0)
            break;
        i += kChunk;
    }
    for (; i < end; ++i) {
        if ((samples[i] & mask) == value)
            return i;
    }
    return end;
}

// Searches the block for the remaining trigger steps, each from the sample after the previous
// step's match, so that two steps never match on the same sample.
void SearchTrigger(CaptureState& state, uint32_t blockFirst) {
    const uint32_t* samples = state.buffer.samples;
    const uint32_t blockEnd = blockFirst + kBlockSamples;
    const int32_t stepCount = state.StepCount;
    int32_t step = state.StepIndex;
    uint32_t next = blockFirst;
    while (step < stepCount) {
        const uint32_t match =
            FindStep(samples, next, blockEnd, state.TriggerMasks[step], state.TriggerValues[step]);
        if (match == blockEnd) {
            state.StepIndex = step;
            return;
        }
        next = match + 1;
        ++step;
    }
    state.StepIndex = step;
    state.TriggerIndex = next;
    // A trigger before the ring is full runs on until it is full, one block short, so that no
    // sample before the trigger is lost.
    const uint32_t length = state.buffer.bufferLength;
    const uint32_t room = RoomBeforeStart(state.StartIndex, state.EndIndex, length);
    if (state.PostTriggerRemaining < room) {
        state.PostTriggerRemaining = room - kBlockSamples;
        state.PostTriggerTotal = room - kBlockSamples;
    }
    // The trigger block must survive: no more blocks may follow it than the rest of the ring
    // holds (a count of the whole ring would write the last block over it). A ring of one
    // block ends with the trigger block itself.
    if (state.PostTriggerRemaining > length - kBlockSamples) {
        state.PostTriggerRemaining = length - kBlockSamples;
        state.PostTriggerTotal = length - kBlockSamples;
    }
    if (length == kBlockSamples)
        state.Running = 0;
    // Last, so that a status poll that sees the trigger sees its index and counts as well.
    state.Triggered = 1;
}

// Counts one block off the post-trigger samples; false when it was the last block to store.
bool CountDownBlock(CaptureState& state) {
    // A count below one block (from a request under 65536) ends here instead of wrapping around
    // to four billion samples.
    const uint32_t remaining = state.PostTriggerRemaining;
    const uint32_t left = remaining > kBlockSamples ? remaining - kBlockSamples : 0;
    state.PostTriggerRemaining = left;
    if (left >= kBlockSamples)
        return true;
    state.Running = 0;
    return false;
}

} // namespace

uint32_t RoomBeforeStart(uint32_t startIndex, uint32_t endIndex, uint32_t bufferLength) {
    return startIndex > endIndex ? startIndex - endIndex : bufferLength - endIndex + startIndex;
}

void ProcessBlock(CaptureState& state, uint32_t blockFirst) {
    if (state.StepCount == kTriggerOff)
        return;
    buffer::State& memory = state.buffer;
    const uint32_t length = memory.bufferLength;
    memory.actualCaptureLength = std::min(memory.actualCaptureLength + kBlockSamples, length);

    if (state.Triggered == 0)
        SearchTrigger(state, blockFirst);
    else if (!CountDownBlock(state))
        return; // the last block is stored but not counted in EndIndex

    const uint32_t blockEnd = blockFirst + kBlockSamples;
    const uint32_t endIndex = blockEnd == length ? 0 : blockEnd;
    state.EndIndex = endIndex;
    if (endIndex == state.StartIndex) {
        const uint32_t startIndex = state.StartIndex + kBlockSamples;
        state.StartIndex = startIndex == length ? 0 : startIndex;
    }
}

} // namespace podcore::capture
