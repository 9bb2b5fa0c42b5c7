#include "files/input_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace podcore::files {

InputFile::InputFile(const char* fileName) {
    if (fileName == nullptr)
        return;
    descriptor_ = ::open(fileName, O_RDONLY | O_CLOEXEC);
    // A folder opens for reading here but is no capture; treat it as a file that is not there.
    struct stat status {};
    if (descriptor_ >= 0 && (::fstat(descriptor_, &status) != 0 || S_ISDIR(status.st_mode))) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

InputFile::~InputFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

size_t InputFile::Read(void* into, size_t size) {
    auto* at = static_cast<char*>(into);
    size_t done = 0;
    while (IsOpen() && done < size) {
        const ssize_t got = ::read(descriptor_, at + done, size - done);
        if (got > 0)
            done += static_cast<size_t>(got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    return done;
}

} // namespace podcore::files
