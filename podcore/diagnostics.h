// The library's two diagnostic channels: a trace hook that records nothing, and short lines on
// standard output. Nobody reads either; they mark fixed points for someone watching a console.
#pragma once

#include <cstdio>
#include <string>

namespace podcore {

// Called at fixed points with a fixed text; deliberately records nothing.
int Trace(const char* message);

// Formatted trace texts ("length = %d") are built and handed to Trace like the fixed ones.
int TraceFormat(const char* format, long value);

// A diagnostic line on standard output, flushed so that it interleaves in time order.
template <typename... Args>
void Print(const char* format, Args... args) {
    if constexpr (sizeof...(Args) == 0)
        std::fputs(format, stdout);
    else
        std::printf(format, args...);
    std::fflush(stdout);
}

// The path of a diagnostic file of the library: the base name in the per-user state folder
// $XDG_STATE_HOME/norrik/ (default ~/.local/state/norrik/), created when missing.
std::string StateFilePath(const char* baseName);

} // namespace podcore
