// The decoders' scratch file: each run leaves its decoded text in "temp.fil" in the working
// directory, replacing the previous run's.
#pragma once

#include <string>

namespace norrik::decoders {

// Creates or truncates the file and writes `text` to it byte for byte. False when the file
// cannot be created or written whole.
bool WriteScratchFile(const std::string& path, const std::string& text);

} // namespace norrik::decoders
