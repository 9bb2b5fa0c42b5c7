#include "decoders_ui/shown_output.h"

#include <algorithm>

namespace norrik {

std::string_view ShownOutput::Add(std::string_view text) {
    if (full_) {
        LeaveOut(text);
        return {};
    }
    if (text.size() <= limit_ - held_) {
        held_ += text.size();
        return text;
    }
    // The box ends at the last line end that fits.
    const size_t lastEnd = text.substr(0, limit_ - held_).rfind('\n');
    const size_t kept = lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
    held_ += kept;
    full_ = true;
    LeaveOut(text.substr(kept));
    return text.substr(0, kept);
}

void ShownOutput::LeaveOut(std::string_view text) {
    if (text.empty())
        return;
    linesLeftOut_ += static_cast<uint64_t>(std::count(text.begin(), text.end(), '\n'));
    inLeftOutLine_ = text.back() != '\n';
}

std::string ShownOutput::Note(const std::string& scratchFile, bool scratchFileWritten) const {
    if (LinesLeftOut() == 0)
        return {};
    const std::string lines = std::to_string(LinesLeftOut()) + " more lines";
    if (!scratchFileWritten)
        return "... " + lines + " were decoded but not kept: " + scratchFile +
               " could not be written.\r\n";
    return "... " + lines + " follow, not shown here; " + scratchFile +
           " holds the whole output.\r\n";
}

} // namespace norrik
