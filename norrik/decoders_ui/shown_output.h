// How much of a decoder's output the output box holds. A run can write a hundred megabytes of
// text; the box keeps its first part, whole lines up to a limit, and counts the lines left out,
// which the scratch file holds with the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace norrik {

class ShownOutput {
public:
    explicit ShownOutput(size_t limitBytes) : limit_(limitBytes) {}

    // Starts over with an empty box.
    void Clear() { *this = ShownOutput(limit_); }

    // Takes text added to the output and gives the part of it for the box: all of it while it
    // fits, then the whole lines that still fit, then nothing.
    std::string_view Add(std::string_view text);

    // Lines of the output not in the box; a line without its end counts as one.
    uint64_t LinesLeftOut() const { return linesLeftOut_ + (inLeftOutLine_ ? 1 : 0); }

    // The closing line of a box that left lines out, naming where they are (or saying that
    // they could not be kept, when the scratch file could not be written); empty otherwise.
    std::string Note(const std::string& scratchFile, bool scratchFileWritten) const;

private:
    void LeaveOut(std::string_view text);

    size_t limit_;
    size_t held_ = 0;
    bool full_ = false;
    uint64_t linesLeftOut_ = 0;
    bool inLeftOutLine_ = false; // the text left out so far ends inside a line
};

} // namespace norrik
