#include "progress_line.h"

#include <cstdio>
#include <unistd.h>

namespace norrik::cli {

ProgressLine::ProgressLine() : terminal_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
    if (terminal_ && !shown_.empty())
        std::fputc('\n', stderr);
}

void ProgressLine::Show(const std::string& text) {
    if (!terminal_ || text == shown_)
        return;
    // Erase to the end of the line: a shorter text must not leave the tail of a longer one.
    std::fprintf(stderr, "\r%s\033[K", text.c_str());
    std::fflush(stderr);
    shown_ = text;
}

} // namespace norrik::cli
