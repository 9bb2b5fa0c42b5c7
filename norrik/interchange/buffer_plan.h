// The library's buffer for a file being opened: the size list's size for the file's samples, as
// Open does, with a count above the memory advice cut to what it allows; and the samples put into
// it, the rest of the buffer repeating the last one so that nothing of an earlier capture stays.
#pragma once

#include "app/app_state.h"
#include "app/capture_file_fields.h"
#include "interchange/sample_blocks.h"

#include <cstdint>

namespace norrik::interchange {

struct BufferPlan {
    int sizeEntry;         // the size list entry to select; -1 selects none
    int32_t bufferSamples; // the buffer the file goes into
    uint32_t readSamples;  // the file's samples that go into it
};

BufferPlan PlanBuffer(uint64_t fileSamples, int32_t currentBufferSamples, int32_t maxBufferSamples);

// Copies the samples to the start of the buffer and repeats the last one to its end.
void InstallSamples(const SampleBlocks& samples, uint32_t* buffer, int32_t bufferSamples);

// Repeats the sample before `filled` to the end of the buffer.
void FillPastEnd(uint32_t* buffer, int32_t bufferSamples, uint32_t filled);

// The settings of a capture whose file carries only samples and a rate: no trigger pattern, the
// internal clock, no trigger sample, the cursors and the view at the start.
CaptureFileFields FieldsOfSamplesAlone(uint8_t rateCode, int32_t bufferSamples);

} // namespace norrik::interchange
