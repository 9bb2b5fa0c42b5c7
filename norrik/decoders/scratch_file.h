// The decoders' scratch file: each run leaves its decoded text in "temp.fil" in the working
// directory, replacing the previous run's. The text arrives in pieces while the run goes on, so
// that a long output never has to be held whole.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace norrik::decoders {

class ScratchFile {
public:
    // Creates or truncates the file.
    explicit ScratchFile(const std::string& path);

    // Adds `text` byte for byte.
    void Append(std::string_view text);

    // Closes the file; false when it could not be created or written whole.
    bool Close();

private:
    std::ofstream file_;
};

} // namespace norrik::decoders
