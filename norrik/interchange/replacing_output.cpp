#include "interchange/replacing_output.h"

#include "interchange/system_error.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norrik::interchange {
namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;

// A name given as a symbolic link means the file it points at.
std::string ResolvedTarget(const std::string& path) {
    struct stat status {};
    char resolved[PATH_MAX];
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

} // namespace

ReplacingOutput::ReplacingOutput() : buffer_(kBlockBytes) {}

ReplacingOutput::~ReplacingOutput() {
    Discard();
}

bool ReplacingOutput::Open(const std::string& path, std::string& error) {
    static std::atomic<unsigned> counter{0};
    target_ = ResolvedTarget(path);
    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        error = "a folder has that name";
        return false;
    }
    const mode_t mode = replacing ? existing.st_mode & 07777 : 0666;
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        temporary_ = target_ + ".part-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter.fetch_add(1));
        descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor_ < 0 && errno != EEXIST)
            break;
    }
    if (descriptor_ < 0) {
        error = SystemErrorText("cannot create the file");
        return false;
    }
    // Created with the umask applied; a replaced file keeps its own permissions.
    if (replacing)
        ::fchmod(descriptor_, mode);
    return true;
}

void ReplacingOutput::Write(std::string_view text) {
    while (!text.empty()) {
        const size_t part = std::min(text.size(), kBlockBytes);
        std::memcpy(Room(part), text.data(), part);
        Advance(part);
        text.remove_prefix(part);
    }
}

void ReplacingOutput::Flush(size_t roomWanted) {
    const char* at = buffer_.data();
    size_t left = used_;
    while (left > 0 && failure_.empty()) {
        const ssize_t written = ::write(descriptor_, at, left);
        if (written > 0) {
            at += written;
            left -= size_t(written);
        } else if (written == 0 || errno != EINTR) {
            failure_ = SystemErrorText("cannot write the file");
        }
    }
    used_ = 0;
    if (buffer_.size() < roomWanted)
        buffer_.resize(roomWanted);
}

bool ReplacingOutput::Commit(std::string& error) {
    Flush(0);
    // Some file systems report a failed write only when the file is closed.
    const bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    if (failure_.empty() && !closed)
        failure_ = SystemErrorText("cannot write the file");
    if (failure_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        failure_ = SystemErrorText("cannot put the file in place");
    if (!failure_.empty()) {
        ::unlink(temporary_.c_str());
        error = failure_;
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacingOutput::Discard() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

} // namespace norrik::interchange
