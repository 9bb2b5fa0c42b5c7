// Captures of every format into and out of the library's sample buffer, for the command line:
// a file opened as the window's Open opens it, and the buffer written in any format.
#pragma once

#include "app/capture_file_fields.h"
#include "interchange/capture_format.h"
#include "interchange/foreign_format.h"
#include "podcore_api.h"

#include <optional>
#include <string>
#include <vector>

namespace norrik::interchange {

struct OpenedCapture {
    // On entry the buffer there is now (null for none); it is freed only once the new file has
    // been read. On return the buffer that holds the file.
    uint32_t* buffer = nullptr;
    int32_t bufferSamples = 0;
    CaptureFormat format = CaptureFormat::Nrk;
    CaptureFileFields fields;
    std::vector<std::string> notes; // every change made in reading, one sentence each
};

// Opens a file of any format, told by its content, into a buffer made for it; `rateCode` asks
// for one of the nine rates instead of the file's. False with a one-line reason when the file
// cannot be read; the buffer there was is kept when the file is refused before its samples are
// read, which is the case for everything but a read error of the disk.
bool OpenCaptureIntoBuffer(PodcoreApi& pod, const std::string& path,
                           std::optional<uint8_t> rateCode, OpenedCapture& opened,
                           std::string& error);

// The format a file is written in: the one asked for, else the one of the name's extension.
std::optional<CaptureFormat> OutputFormat(const std::string& path,
                                          std::optional<CaptureFormat> asked);

// Writes the buffer with its settings (`fields`, whose sample count is the buffer's) to a file
// of the format. False with a one-line reason; an earlier file of the name is then kept.
bool WriteBufferToFile(PodcoreApi& pod, const uint32_t* buffer, CaptureFileFields fields,
                       const std::string& path, CaptureFormat format, const WriteOptions& options,
                       const ProgressHook& progress, std::string& error);

} // namespace norrik::interchange
