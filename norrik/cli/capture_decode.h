// Opens a capture file of any format the way the application's Open does and decodes it as the
// decoder window would, through the library bound at run time.
#pragma once

#include "cli_options.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace norrik::cli {

// Writes the decoder window's output text for the request, or its records when it asks for csv
// or jsonl, through `write`; `notes` receive every change reading the file made. False with a
// one-line reason, and nothing written, when the file cannot be read or when records are asked
// for and the settings keep the decoder from decoding.
bool DecodeCaptureFile(const CliRequest& request,
                       const std::function<void(std::string_view)>& write,
                       std::vector<std::string>& notes, std::string& error);

} // namespace norrik::cli
