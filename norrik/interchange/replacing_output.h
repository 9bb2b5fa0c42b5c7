// A text file written in large blocks to a new file beside the target, which replaces the
// target only when everything was written: a failed write leaves an earlier file as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace norrik::interchange {

class ReplacingOutput {
public:
    ReplacingOutput();
    ~ReplacingOutput();
    ReplacingOutput(const ReplacingOutput&) = delete;
    ReplacingOutput& operator=(const ReplacingOutput&) = delete;

    // False with a one-line reason when no file can be created beside `path`.
    bool Open(const std::string& path, std::string& error);

    // Room for at least `bytes` more characters; Advance() then tells how many were used.
    char* Room(size_t bytes) {
        if (size_t(buffer_.size() - used_) < bytes)
            Flush(bytes);
        return buffer_.data() + used_;
    }
    void Advance(size_t bytes) { used_ += bytes; }
    void Write(std::string_view text);

    // Writes what is left and puts the file in the target's place.
    bool Commit(std::string& error);

private:
    void Flush(size_t roomWanted);
    void Discard();

    std::vector<char> buffer_;
    size_t used_ = 0;
    int descriptor_ = -1;
    std::string target_;
    std::string temporary_;
    std::string failure_;
};

} // namespace norrik::interchange
