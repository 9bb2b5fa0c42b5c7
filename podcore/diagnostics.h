// The library's two diagnostic channels: a trace hook that records nothing, and short lines on
// standard output. Nobody reads either; they mark fixed points for someone watching a console.
#pragma once

#include <string>

namespace podcore {

// Called at fixed points with a fixed text; deliberately records nothing.
int Trace(const char* message);

// Formatted trace texts ("length = %d") are built and handed to Trace like the fixed ones. The
// compiler checks the arguments against the format.
int TraceFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A diagnostic line on standard output, flushed so that it interleaves in time order.
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The path of a diagnostic file of the library: the base name in the per-user state folder
// $XDG_STATE_HOME/norrik/ (default ~/.local/state/norrik/), created when missing.
std::string StateFilePath(const char* baseName);

} // namespace podcore
