#include "interchange/text_lines.h"

#include "interchange/system_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norrik::interchange {
namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;
// A line longer than this is no line of a dump or a table.
constexpr size_t kLongestLine = size_t{64} << 20;

} // namespace

TextLines::~TextLines() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool TextLines::Open(const std::string& path, std::string& error) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        error = SystemErrorText("cannot open the file");
        return false;
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "not a regular file";
        return false;
    }
    fileSize_ = uint64_t(status.st_size);
    ::posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer_.resize(kBlockBytes);
    return Rewind(error);
}

bool TextLines::Rewind(std::string& error) {
    if (::lseek(descriptor_, 0, SEEK_SET) != 0) {
        error = SystemErrorText("cannot read the file");
        return false;
    }
    consumed_ = 0;
    at_ = filled_ = buffer_.data();
    ended_ = false;
    lineNumber_ = 0;
    failure_.clear();
    return true;
}

bool TextLines::Refill() {
    // Keep the unfinished line at the front; grow only for a line longer than a block.
    const size_t kept = size_t(filled_ - at_);
    if (kept == buffer_.size()) {
        if (buffer_.size() >= kLongestLine) {
            failure_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than " +
                       std::to_string(kLongestLine) + " bytes";
            return false;
        }
        std::vector<char> larger(buffer_.size() * 2);
        std::copy(at_, filled_, larger.data());
        buffer_.swap(larger);
    } else {
        std::memmove(buffer_.data(), at_, kept);
    }
    at_ = buffer_.data();
    filled_ = at_ + kept;
    for (;;) {
        const ssize_t got = ::read(descriptor_, const_cast<char*>(filled_), buffer_.size() - kept);
        if (got > 0) {
            filled_ += got;
            consumed_ += uint64_t(got);
            return true;
        }
        if (got == 0) {
            ended_ = true;
            return true;
        }
        if (errno != EINTR) {
            failure_ = SystemErrorText("cannot read the file");
            return false;
        }
    }
}

bool TextLines::NextAcrossBlocks(std::string_view& line) {
    while (!ended_) {
        const size_t searched = size_t(filled_ - at_);
        if (!Refill())
            return false;
        const char* end = static_cast<const char*>(
            std::memchr(at_ + searched, '\n', size_t(filled_ - at_) - searched));
        if (end != nullptr) {
            line = Trimmed(at_, end);
            at_ = end + 1;
            ++lineNumber_;
            return true;
        }
    }
    // The last line may lack its line end.
    if (at_ == filled_)
        return false;
    line = Trimmed(at_, filled_);
    at_ = filled_;
    ++lineNumber_;
    return true;
}

std::string TextLines::Tail(size_t bytes) const {
    const uint64_t from = fileSize_ > bytes ? fileSize_ - bytes : 0;
    std::string tail(size_t(fileSize_ - from), '\0');
    const ssize_t got = ::pread(descriptor_, tail.data(), tail.size(), off_t(from));
    tail.resize(got > 0 ? size_t(got) : 0);
    return tail;
}

} // namespace norrik::interchange
