// Writes a file so that it either appears whole or not at all: the bytes go to a temporary file
// beside the target, which is renamed over the target only when every write succeeded. A save
// that fails part-way therefore leaves the previous file as it was.
#pragma once

#include <cstddef>
#include <string>

namespace podcore::files {

class ReplacingFile {
public:
    explicit ReplacingFile(const char* fileName);
    // Removes the temporary file unless Commit succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }

    // Returns false on any error, and from then on for every later call.
    bool Write(const void* bytes, size_t size);

    // Closes the temporary file and moves it into place; false if any step failed.
    bool Commit();

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool failed_ = false;
};

} // namespace podcore::files
