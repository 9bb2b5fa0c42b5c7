// How opening a capture file sizes the sample buffer: the size list's entry nearest the file's
// count, and, where that entry's size would cut the file short, a buffer that holds it whole.
#pragma once

#include <cstdint>

namespace norrik {

struct OpenSizing {
    int sizeEntry;         // the size list entry to select; -1 selects none
    int32_t bufferSamples; // the buffer the file is read into
};

// For a file of `fileCount` samples, with the buffer now holding `currentBufferSamples` and the
// library advising at most `maxBufferSamples`.
OpenSizing SizeForOpen(uint32_t fileCount, int32_t currentBufferSamples, int32_t maxBufferSamples);

} // namespace norrik
