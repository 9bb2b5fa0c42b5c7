#include "files/replacing_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace podcore::files {
namespace {

// A name given as a symbolic link means the file it points at, as a plain write would treat it.
std::string ResolvedTarget(const char* fileName) {
    struct stat status {};
    char resolved[PATH_MAX];
    if (::lstat(fileName, &status) == 0 && S_ISLNK(status.st_mode) &&
        ::realpath(fileName, resolved) != nullptr)
        return resolved;
    return fileName;
}

// Opens a new, unique file in the target's folder; the permissions follow the umask as for any
// newly created file, or copy those of the file being replaced.
int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1));
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

} // namespace

ReplacingFile::ReplacingFile(const char* fileName) {
    if (fileName == nullptr || *fileName == '\0')
        return;
    target_ = ResolvedTarget(fileName);
    descriptor_ = CreateTemporaryBeside(target_, temporary_);
}

ReplacingFile::~ReplacingFile() {
    Discard();
}

bool ReplacingFile::Write(const void* bytes, size_t size) {
    const auto* at = static_cast<const char*>(bytes);
    while (IsOpen() && !failed_ && size > 0) {
        const ssize_t written = ::write(descriptor_, at, size);
        if (written > 0) {
            at += written;
            size -= static_cast<size_t>(written);
        } else if (written == 0 || errno != EINTR) {
            failed_ = true;
        }
    }
    return IsOpen() && !failed_;
}

bool ReplacingFile::Commit() {
    if (!IsOpen() || failed_) {
        Discard();
        return false;
    }
    // Some file systems report a failed write only when the file is closed.
    const bool closed = ::close(std::exchange(descriptor_, -1)) == 0;
    if (!closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ::unlink(temporary_.c_str());
        return false;
    }
    return true;
}

void ReplacingFile::Discard() {
    if (!IsOpen())
        return;
    ::close(std::exchange(descriptor_, -1));
    ::unlink(temporary_.c_str());
}

} // namespace podcore::files
