// Opens a capture file the way the application's Open does and decodes it as the decoder
// window would, through the library bound at run time.
#pragma once

#include "cli_options.h"

#include <string>

namespace norrik::cli {

// The decoder window's output text for the request; false with a one-line reason when the file
// cannot be read.
bool DecodeCaptureFile(const CliRequest& request, std::string& text, std::string& error);

} // namespace norrik::cli
