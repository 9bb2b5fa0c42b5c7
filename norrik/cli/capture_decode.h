// Opens a capture file the way the application's Open does and decodes it as the decoder
// window would, through the library bound at run time.
#pragma once

#include "cli_options.h"

#include <cstdint>
#include <string>

namespace norrik::cli {

// A capture file opened into the library's buffer, as the application's Open does.
struct OpenedCapture {
    int32_t bufferSamples = 0;
    uint8_t rateCode = 0;
};

// False with a one-line reason when the file cannot be read.
bool OpenCaptureFile(const std::string& file, OpenedCapture& capture, std::string& error);

// The decoder window's output text for the request; false with a one-line reason when the file
// cannot be read.
bool DecodeCaptureFile(const CliRequest& request, std::string& text, std::string& error);

} // namespace norrik::cli
