// A text file read line by line in large blocks, for the text formats' parsers: no line is
// copied, and a file of any length needs no more memory than its longest line.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace norrik::interchange {

class TextLines {
public:
    TextLines() = default;
    ~TextLines();
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    // False with a one-line reason when the file cannot be opened or is no regular file.
    bool Open(const std::string& path, std::string& error);
    // Back to the first line.
    bool Rewind(std::string& error);

    // The next line without its line end ("\n" or "\r\n"); false at the end of the file or on
    // an error, which Failed() then tells.
    bool Next(std::string_view& line) {
        const char* end = static_cast<const char*>(std::memchr(at_, '\n', size_t(filled_ - at_)));
        if (end == nullptr)
            return NextAcrossBlocks(line);
        line = Trimmed(at_, end);
        at_ = end + 1;
        ++lineNumber_;
        return true;
    }

    // The number of the line Next() gave last, counted from 1.
    uint64_t LineNumber() const { return lineNumber_; }
    const std::string& Failed() const { return failure_; }
    // Bytes read so far and the file's size, for progress.
    uint64_t BytesRead() const { return consumed_ - uint64_t(filled_ - at_); }
    uint64_t FileSize() const { return fileSize_; }
    // The last bytes of the file (up to `bytes`), read apart from the lines.
    std::string Tail(size_t bytes) const;

private:
    static std::string_view Trimmed(const char* begin, const char* end) {
        return {begin, size_t((end > begin && end[-1] == '\r' ? end - 1 : end) - begin)};
    }
    bool NextAcrossBlocks(std::string_view& line);
    bool Refill();

    int descriptor_ = -1;
    uint64_t fileSize_ = 0;
    uint64_t consumed_ = 0; // bytes read from the file
    std::vector<char> buffer_;
    const char* at_ = nullptr;
    const char* filled_ = nullptr;
    bool ended_ = false;
    uint64_t lineNumber_ = 0;
    std::string failure_;
};

} // namespace norrik::interchange
