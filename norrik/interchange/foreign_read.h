// The reading rules every foreign format follows: lines by name or number, the rate, nearest-
// neighbour resampling, and the cut above the memory advice, each change told in a note.
#pragma once

#include "interchange/capture_format.h"
#include "interchange/foreign_format.h"
#include "interchange/sample_blocks.h"

#include <optional>
#include <string>
#include <vector>

namespace norrik::interchange {

struct ReadOptions {
    std::optional<uint8_t> rateCode; // the rate asked for, else the file decides
    uint32_t maxSamples = 0;         // the memory advice; more samples are cut
};

struct ForeignCapture {
    SampleBlocks samples;
    uint8_t rateCode = 0;
    std::vector<std::string> notes; // every change made, one sentence each
};

// Reads a file through its format's reader. False with a one-line reason when it cannot be read;
// `capture` is then incomplete.
bool ReadForeignCapture(ForeignReader& reader, const ReadOptions& options,
                        const ProgressHook& progress, ForeignCapture& capture, std::string& error);

bool ReadForeignFile(CaptureFormat format, const std::string& path, const ReadOptions& options,
                     const ProgressHook& progress, ForeignCapture& capture, std::string& error);

} // namespace norrik::interchange
