// A capture file opened for reading raw bytes.
#pragma once

#include <cstddef>

namespace podcore::files {

class InputFile {
public:
    explicit InputFile(const char* fileName);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }

    // Reads until `size` bytes arrived, the file ended or a read failed; returns the bytes read.
    size_t Read(void* into, size_t size);

private:
    int descriptor_ = -1;
};

} // namespace podcore::files
